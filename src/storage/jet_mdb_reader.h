#pragma once

namespace verdan {

// Reads a Jet database file with the database library and writes its user tables to `fd` in the form
// TJetStreamReader reads (jet_stream.h), ending with 'Z' or with 'F' and a reason. A value larger than
// `maxValue` bytes ends the reading as a failure. Runs in a process of its own (TIsolatedJetReader): the
// library trusts the file, and a damaged one can make it crash or loop, which must not reach the program.
// Uses no Qt, so that it is safe in a child of a threaded program. With `tablesOnly` every table ends right
// after its columns, so the tables of a file are known without reading their rows.
void StreamJetTables(const char* path, int fd, long long maxValue, bool tablesOnly = false);

} // namespace verdan
