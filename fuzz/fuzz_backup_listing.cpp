// The backup info records (restore.txt) and the disk-space lines (diskspace.txt) as the backup
// windows read them from the server.
#include "FuzzInput.h"
#include "common/CommonFunctions.h"
#include "maintenance/BackupFiles.h"
#include "platform/TextCodec.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QStringList lines =
        quillon::splitTextLines(platform::fromCp1252(fuzzinput::bytes(data, size)));
    const quillon::BackupListing listing = quillon::parseBackupListing(lines);
    for (const quillon::BackupInfoRecord& r : listing.records) {
        // Only an archive name is listed, so only one can reach a shell line or a path.
        if (!quillon::isBackupArchiveName(r.fileName)) std::abort();
        quillon::BackupListRow(r);
        r.line();
    }
    quillon::refusedRecordsText(listing);
    for (const QString& line : lines) quillon::parseDiskSpaceLine(line);
    return 0;
}
