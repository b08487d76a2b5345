// The selections of the file readers, compiled once for all readers.
#pragma once

#include "xml/dom.h"

namespace kxt::xml {

struct ReaderQueries {
    // Material library files.
    Query classifications{"//classification"};
    Query materials{"material"};
    Query propertyElements{"physicalproperties/*"};  // properties: those with a displayname
    Query custom{"./custom"};
    Query sustainability{"sustainability"};
    // Process settings files.
    Query scenarioSettings{"//ScenarioSettings"};
    Query groupings{"Grouping"};
    Query parameters{"Parameter"};
};

// The one set of compiled selections, built on first use.
const ReaderQueries& Queries();

}  // namespace kxt::xml
