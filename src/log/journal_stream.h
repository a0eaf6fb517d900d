// SPDX-License-Identifier: MIT
#pragma once

namespace tevusb::log {

// True when descriptor `fd` is the stream the system journal handed the process:
// `journalStream` is the JOURNAL_STREAM value "<device>:<inode>" (decimal) that systemd
// sets for a service or a desktop launch, and it must name fd's own device and inode
// (a redirected descriptor inherits the variable but is no longer the journal).
// Null, malformed or unmatched values, and systems without such a journal: false.
bool isJournalStream(const char* journalStream, int fd);

// True when a TEVUSB_VERBOSE value asks for the diagnostic lines: set, not empty, not "0".
bool verboseRequested(const char* value);

// Whether the program writes its diagnostic lines: always, except to the journal when
// neither --verbose nor TEVUSB_VERBOSE asks for them (on Windows: only when asked). Reads the
// present environment.
bool diagnosticsWanted(bool verboseOption);

}  // namespace tevusb::log
