#!/usr/bin/env python3
"""The layer check finds each kind of offence in a small tree, and none in a sound one."""
import os
import subprocess
import sys
import tempfile

CHECK = os.path.join(os.path.dirname(__file__), '..', '..', 'tools', 'check-layers')


def run(files):
    with tempfile.TemporaryDirectory() as root:
        src = os.path.join(root, 'src')
        for path, text in files.items():
            full = os.path.join(src, path)
            os.makedirs(os.path.dirname(full), exist_ok=True)
            with open(full, 'w') as f:
                f.write(text)
        p = subprocess.run([sys.executable, CHECK, src], capture_output=True, text=True)
        return p.returncode, p.stdout


SOUND = {
    'platform/P.h': '#pragma once\n',
    'common/C.h': '#include "platform/P.h"\n',
    'widgets/W.h': '#include "common/C.h"\n',
    'startup/S.cpp': '#include "widgets/W.h"\n',
    'menu/M.cpp': '#include "startup/S.h"\n',
    'startup/S.h': '#pragma once\n',
}

CASES = [
    ('sound tree', {}, None),
    ('cycle', {'common/C.cpp': '#include "widgets/W.h"\n'}, 'include each other'),
    ('feature includes menu', {'startup/T.cpp': '#include "menu/M.h"\n', 'menu/M.h': ''},
     'includes menu/'),
    ('feature includes feature', {'access/A.cpp': '#include "startup/S.h"\n'},
     'includes feature folder startup'),
    ('base includes window', {'remote/R.cpp': '#include "startup/S.h"\n'},
     'includes the window folder startup'),
    ('has_include', {'menu/X.cpp': '#if __has_include("a.h")\n#endif\n'}, '__has_include'),
]

failed = 0
for name, extra, expected in CASES:
    files = dict(SOUND)
    files.update(extra)
    code, out = run(files)
    ok = (code == 0) if expected is None else (code == 1 and expected in out)
    if not ok:
        failed += 1
        print(f'FAIL {name}: exit {code}\n{out}')
    else:
        print(f'ok   {name}')
sys.exit(1 if failed else 0)
