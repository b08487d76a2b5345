// The reader of the process settings file ("materials process.dat"): the
// manufacturing processes, energy parameters and recycled content of each
// material, named by its GaBi or language name.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "mapping/mfg_process_map.h"
#include "module/resources.h"
#include "xml/xml_parser_base.h"

class kxtMaterialDB;

namespace kxt::xml {

class kxtXMLProcessParser : public kxtXMLParserBase {
public:
    // Loads the file at path, then builds the process name map from the
    // resource module (null: every process name is empty, so only recycled
    // content is read).
    kxtXMLProcessParser(const std::u16string& path, module::ModuleHandle resourceModule)
        : kxtXMLParserBase(path), processNames_(resourceModule) {}
    // The same over a file loaded before (see kxtXMLParserBase::ReadDocument).
    kxtXMLProcessParser(std::shared_ptr<const Document> document, module::ModuleHandle resourceModule)
        : kxtXMLParserBase(std::move(document)), processNames_(resourceModule) {}

    // Appends the processes and energy parameters of every material that the
    // "Material specific settings" of each ScenarioSettings block names, sets
    // recycled content, and finally sets every material's environmental data
    // to whether it has processes. Returns 1; 0 (without the final pass) when
    // a block has no material settings or a recycled-content parameter has no
    // child, or for a null target.
    int Parse(kxtMaterialDB* target) override;

    // Adds to out, under each material category whose Comment equals comment
    // without regard to case, the aliases of its materials in document order;
    // an existing key keeps its list. Returns 1; 0 when a block has no
    // material settings.
    virtual int CollectGroupsByComment(const std::u16string& comment,
                                       std::map<std::u16string, std::vector<std::u16string>>& out);

private:
    mapping::kxtMfgProcessMap processNames_;
};

}  // namespace kxt::xml
