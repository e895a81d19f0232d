#pragma once

#include <functional>
#include <string>
#include <vector>

namespace belvaron {

class FileWriter;

// How replacing a set of files ended.
struct FileSetOutcome {
    bool committed = false;  // every new file is in place and every file to go is gone
    // Not committed: true when every old file is back in place and no new
    // file is left (the folder is as before); false when putting back failed
    // too, so that new and old files may stand side by side.
    bool restored = true;
    std::string failedPath;  // the file whose move failed first
    int error = 0;           // errno of that failure
};

// Replaces several files as one batch: all or none. The new files are
// written first (each FileWriter finished, not committed); Commit then moves
// each old file of the batch aside ("<name>.old-XXXXXX"), renames each new
// file into place and moves aside the files that must go (parts of a larger
// earlier batch). On any failure everything done is undone in reverse order;
// on success the old files are removed. A kill during Commit can leave the
// old files under their ".old-" names; they are never removed automatically.
class FileSet {
public:
    using RenameFunction = std::function<int(const char* from, const char* to)>;

    // `rename` is the platform's replacing move except in tests that make a
    // move fail.
    explicit FileSet(RenameFunction rename = nullptr);

    // A finished writer whose new file replaces its target; the writer must
    // outlive Commit.
    void Replace(FileWriter& finished);
    // A file that must not remain after the batch (nothing when it is missing).
    void Remove(const std::string& path);

    FileSetOutcome Commit();

private:
    struct Entry {
        FileWriter* writer = nullptr;  // null: a file to remove
        std::string target;
        std::string backup;  // where the old file went; empty when there was none
        bool placed = false;
    };
    bool MoveAside(Entry& entry, FileSetOutcome& outcome);
    bool Place(Entry& entry, FileSetOutcome& outcome);
    bool Undo(std::vector<Entry>::reverse_iterator from);

    RenameFunction rename_;
    std::vector<Entry> entries_;
};

}  // namespace belvaron
