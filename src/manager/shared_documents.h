// The documents that the passes of one manager call share, so that a file
// that several passes read is read, checked and parsed once per call.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "xml/dom.h"

namespace kxt::manager {

// A set of loaded documents for the duration of one call, open for the
// calling thread while it lives (sets nest: the inner one serves until it is
// destroyed). The call announces every pass that will read a file (Expect);
// the first of them loads the document, the later ones share it, and the set
// drops it after the last, so that it is freed as soon as no pass holds it.
// Files are the same when their paths name the same file as the file system
// resolves them. A pass that was not announced reads its own document; a pass
// that was announced but does not run must be withdrawn (Skip), or the
// document lives until the set does. Either way the answers are those of
// each pass reading the file itself, since nothing changes a loaded document.
class SharedDocuments {
public:
    SharedDocuments();
    ~SharedDocuments();
    SharedDocuments(const SharedDocuments&) = delete;
    SharedDocuments& operator=(const SharedDocuments&) = delete;

    // Announces one more pass over the file at path.
    void Expect(const std::u16string& path);
    // Withdraws one pass over path, announced to the set open on this
    // thread, that will not run.
    static void Skip(const std::u16string& path);

    // True when a and b name the same file, as the set tells files apart.
    static bool SameFile(const std::u16string& a, const std::u16string& b);

    // The document of path for one pass: from the set open on this thread
    // when the pass was announced to it, else read for this pass alone.
    // Throws std::bad_alloc when memory is exhausted.
    static std::shared_ptr<const xml::Document> Open(const std::u16string& path);

private:
    struct Entry {
        std::string file;  // the path as the file system resolves it
        int passes;        // announced passes still to run
        std::shared_ptr<const xml::Document> document;  // loaded by the first of them
    };

    Entry* Find(const std::string& file);
    // Counts one pass over entry as done, dropping the entry after the last.
    void Done(Entry& entry);

    std::vector<Entry> entries_;
    SharedDocuments* outer_;
};

}  // namespace kxt::manager
