#pragma once

namespace belvaron {

// Makes a write beyond the file-size limit (SIGXFSZ) and a write into a
// pipe whose reader has gone (SIGPIPE) fail with EFBIG and EPIPE instead of
// ending the process without a word, so that the writer reports them as
// write errors and removes its new file. Call once at program start, before
// any thread is started.
void TurnWriteSignalsIntoErrors();

}  // namespace belvaron
