#pragma once
// Small helpers shared by the site editor's tests.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>

#include "startup/SiteSetup.h"

#include <sys/stat.h>

namespace sitestest {

// The permission bits of a file, or -1 when it is missing.
inline int fileMode(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return -1;
    return static_cast<int>(st.st_mode & 07777);
}

// The program's own script templates, as shipped.
inline QString shippedTemplates() {
    return QStringLiteral(QUILLON_SOURCE_DIR "/resources/Default/Bats");
}

// Copies the shipped templates into <home>/Default/Bats.
inline void installShippedTemplates(const QString& home) {
    const QString target = home + QStringLiteral("/Default/Bats");
    QDir().mkpath(target);
    const QDir source(shippedTemplates());
    for (const QString& name : source.entryList(QDir::Files))
        QFile::copy(source.filePath(name), target + QLatin1Char('/') + name);
}

// The lines the new site's set-up sends, in order, for the catalogue names given.
inline QStringList expectedSetupLines(const QString& home, const QString& login,
                                      const QStringList& names) {
    QStringList lines{
        "cd " + home,
        "sudo mkdir ACL ",
        "sudo chgrp users ORV* ",
        "sudo chmod 666 *.db ",
        "sudo chown root *.db ",
        "sudo chgrp users *.db ",
        "sudo chown " + login + " ACL ",
        "sudo chgrp " + login + " ACL ",
        "cd ACL",
        "sudo mkdir USERS ",
        "sudo mkdir BUTTONS ",
        "sudo chmod 777 BUTTONS USERS ",
        "sudo chown " + login + " * ",
        "sudo chgrp " + login + " * ",
        "cd " + home + "/ACL/BUTTONS/",
        "sudo chown " + login + " *.BUT ",
        "sudo chgrp " + login + " *.BUT ",
        "sudo rm -f " + home + "/ACL/BUTTONS/default_buttons",
        "echo ENABLED BUTTONS DO NOT REMOVE THIS LINE >default_buttons",
    };
    for (const QString& n : names) lines << "echo " + n + " >>default_buttons";
    lines << "sudo chmod 666 *.BUT"
          << "sudo chown " + login + " default_buttons"
          << "sudo chgrp " + login + " default_buttons"
          << "cd " + home + "/ACL/USERS/"
          << "echo " + quillon::defaultUserDigest() + " > default_user"
          << "sudo chown " + login + " * "
          << "sudo chgrp " + login + " * "
          << "sudo chmod 666 *.USE "
          << "sudo chown " + login + " default_user"
          << "sudo chgrp " + login + " default_user";
    return lines;
}

}  // namespace sitestest
