// The error channel: the status line as the drive words it, "00, OK,00,00", read
// through channel 15 and answered with a CR that carries the end mark.
#include <cstdio>

#include "drive/drive.h"
#include "drive/drive_media.h"

namespace {

struct StatusText {
    uint8_t code;
    const char* text;
};
// As the 1551's DOS words them: its word tokens (FILE, WRITE, DISK, ...) come with a
// space in front, so "62, FILE NOT FOUND" but "21,READ ERROR".
// clang-format off
constexpr StatusText statusTexts[] = {
    {statusOk,            " OK"},
    {statusScratched,     " FILES SCRATCHED"},
    {statusReadError,     "READ ERROR"},
    {statusWriteError,    " WRITE ERROR"},
    {statusWriteProtect,  " WRITE PROTECT ON"},
    {statusSyntax,        "SYNTAX ERROR"},
    {statusBadCommand,    "SYNTAX ERROR"},
    {statusLongLine,      "SYNTAX ERROR"},
    {statusBadName,       "SYNTAX ERROR"},
    {statusNoName,        "SYNTAX ERROR"},
    {statusTooLarge,      " FILE TOO LARGE"},
    {statusNotFound,      " FILE NOT FOUND"},
    {statusExists,        " FILE EXISTS"},
    {statusTypeMismatch,  " FILE TYPE MISMATCH"},
    {statusIllegalBlock,  "ILLEGAL TRACK OR SECTOR"},
    {statusDiskFull,      " DISK FULL"},
    {statusPowerOn,       "CBM DOS V2.6 TDISK"},
    {statusNotReady,      "DRIVE NOT READY"},
};
// clang-format on

const char* textOf(uint8_t code) {
    for (const StatusText& entry : statusTexts)
        if (entry.code == code) return entry.text;
    return "SYNTAX ERROR";
}

}  // namespace

void setStatus(DriveResult result) {
    const int length = std::snprintf(drive.statusText, sizeof drive.statusText, "%02u,%s,%02u,%02u",
                                     result.code, textOf(result.code), result.track, result.sector);
    drive.statusLength = uint8_t(length < 0 ? 0 : length);
    drive.statusPosition = 0;
}

uint8_t nextStatusByte(bool& last) {
    last = drive.statusPosition >= drive.statusLength;
    if (!last) return uint8_t(drive.statusText[drive.statusPosition++]);
    setStatus({});  // a line read to its end is done with
    return 0x0D;
}
