#include "manager/shared_documents.h"

#include <algorithm>
#include <utility>

#include "platform/files.h"
#include "xml/xml_parser_base.h"

namespace kxt::manager {
namespace {

thread_local SharedDocuments* openSet = nullptr;

}  // namespace

SharedDocuments::SharedDocuments() : outer_(openSet) { openSet = this; }

SharedDocuments::~SharedDocuments() { openSet = outer_; }

void SharedDocuments::Expect(const std::u16string& path) {
    std::string file = platform::ResolveNativePath(path);
    if (Entry* entry = Find(file)) {
        ++entry->passes;
        return;
    }
    entries_.push_back(Entry{std::move(file), 1, nullptr});
}

void SharedDocuments::Skip(const std::u16string& path) {
    if (openSet == nullptr) return;
    if (Entry* entry = openSet->Find(platform::ResolveNativePath(path))) openSet->Done(*entry);
}

std::shared_ptr<const xml::Document> SharedDocuments::Open(const std::u16string& path) {
    Entry* entry = openSet != nullptr ? openSet->Find(platform::ResolveNativePath(path)) : nullptr;
    if (entry == nullptr) return xml::kxtXMLParserBase::ReadDocument(path);
    if (entry->document == nullptr) entry->document = xml::kxtXMLParserBase::ReadDocument(path);
    std::shared_ptr<const xml::Document> document = entry->document;
    openSet->Done(*entry);
    return document;
}

bool SharedDocuments::SameFile(const std::u16string& a, const std::u16string& b) {
    return platform::ResolveNativePath(a) == platform::ResolveNativePath(b);
}

SharedDocuments::Entry* SharedDocuments::Find(const std::string& file) {
    const auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& entry) { return entry.file == file; });
    return it == entries_.end() ? nullptr : &*it;
}

void SharedDocuments::Done(Entry& entry) {
    if (--entry.passes > 0) return;
    entries_.erase(entries_.begin() + (&entry - entries_.data()));
}

}  // namespace kxt::manager
