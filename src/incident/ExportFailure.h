#pragma once

// Why an evidence export stopped, in words a viewer can put into its own string table; the English detail
// (paths, library messages) stays in the result's error text for the command line and the log.
enum class ExportFailure
{
    None,
    Window, // the moment or the window lies outside what the recording holds
    AmongRecordings, // the package would be written into the recordings' own folder
    Reading, // the recording cannot be opened or read
    Writing, // the output folder cannot be written: full, read-only, gone
};
