#!/usr/bin/env bash
# sim/stop ends sshd and nothing else; sim/stop --purge removes every login, group, file and
# folder that sim/start made, also the root door an earlier start opened, and refuses while a
# login still runs something; sim/start builds it all again. It tears the shared server down,
# so it runs only when asked, as root:
#   QUILLON_SIM_PURGE_TEST=1 ctest -R Sim.StopPurge --output-on-failure
# and leaves the server running, as sim/start of this checkout makes it.
set -u
if [ "${QUILLON_SIM_PURGE_TEST-}" != 1 ]; then
    echo "skipped: tears the shared server down; set QUILLON_SIM_PURGE_TEST=1 to run it"
    exit 77
fi
[ "$(id -u)" = 0 ] || { echo "skipped: needs root"; exit 77; }

sim=$(cd "$(dirname "$0")/../../sim" && pwd)
port=${QUILLON_SIM_PORT:-2222}
state=/var/lib/quillon-sim
logins=(varneltail varnel)
fail() { echo "FAIL: $*"; exit 1; }
quiet() { "$@" >/dev/null 2>&1; }
answers() { quiet timeout 2 bash -c 'exec 3<>"/dev/tcp/127.0.0.1/$1"' _ "$port"; }
diverted() { dpkg-divert --list /sbin/hwclock 2>/dev/null | grep -q .; }

# The root door of the earlier scheme: a sudoers file, and /sbin/hwclock diverted to a wrapper.
open_old_door() {
    printf '# quillon-sim: left by an earlier start\n' >/etc/sudoers.d/quillon-sim
    chmod 0440 /etc/sudoers.d/quillon-sim
    if [ -e /sbin/hwclock ] && ! diverted; then
        dpkg-divert --quiet --local --rename --divert /sbin/hwclock.distrib --add /sbin/hwclock
        printf '#!/bin/bash\n# quillon-sim wrapper\nexec /sbin/hwclock.distrib "$@"\n' >/sbin/hwclock
        chmod 0755 /sbin/hwclock
    fi
}
no_old_door() {
    [ ! -e /etc/sudoers.d/quillon-sim ] || fail "$1: /etc/sudoers.d/quillon-sim is still there"
    ! grep -rlsE 'varnel|quillon' /etc/sudoers /etc/sudoers.d || fail "$1: a sudo rule of ours"
    ! diverted || fail "$1: /sbin/hwclock is still diverted"
    ! grep -qs 'quillon-sim' /sbin/hwclock || fail "$1: /sbin/hwclock is still the wrapper"
}
all_there() {
    for u in "${logins[@]}"; do getent passwd "$u" >/dev/null || fail "$1: no login $u"; done
    getent group varnel >/dev/null || fail "$1: no group varnel"
    [ -x /usr/varnel/do_csv.sh ] || fail "$1: no site folder"
    [ -x "$state/login-bin/sudo" ] || fail "$1: no stand-in sudo"
}

quiet "$sim/start" || fail "start"
answers || fail "start: sshd does not answer on port $port"
all_there start

# stop alone: sshd ends, everything else stays.
quiet "$sim/stop" || fail "stop"
! answers || fail "stop: sshd still answers"
all_there stop

# start moves an earlier installation off its root door.
open_old_door
quiet "$sim/start" || fail "start over the earlier scheme"
no_old_door "start over the earlier scheme"
answers || fail "start after stop: sshd does not answer"

# A login that still runs something is not removed from under it; purge says which.
setpriv --reuid=varnel --regid=varnel --clear-groups sleep 60 </dev/null >/dev/null 2>&1 &
sleeper=$!
sleep 0.5
said=$("$sim/stop" --purge 2>&1) && fail "purge went ahead while varnel ran a process"
case $said in *"varnel:"*) ;; *) fail "purge did not name the busy login: $said" ;; esac
getent passwd varnel >/dev/null || fail "the refused purge removed the login"
kill "$sleeper" 2>/dev/null
wait "$sleeper" 2>/dev/null

open_old_door
quiet "$sim/stop" --purge || fail "purge"
! answers || fail "purge: sshd still answers"
for u in "${logins[@]}"; do
    ! getent passwd "$u" >/dev/null || fail "purge: the login $u is still there"
done
! getent group varnel >/dev/null || fail "purge: the group varnel is still there"
for f in /etc/passwd /etc/group /etc/shadow /etc/gshadow /etc/subuid /etc/subgid; do
    ! grep -qs '^varnel' "$f" || fail "purge: $f still names a login of ours"
done
for d in /usr/varnel "$state"; do [ ! -e "$d" ] || fail "purge: $d is still there"; done
no_old_door purge
quiet "$sim/stop" --purge || fail "a second purge"

# start after a purge builds everything again.
quiet "$sim/start" || fail "start after purge"
answers || fail "start after purge: sshd does not answer"
all_there "start after purge"
no_old_door "start after purge"
echo ok
