#include "xml/reader_queries.h"

namespace kxt::xml {

const ReaderQueries& Queries() {
    static const ReaderQueries queries;
    return queries;
}

}  // namespace kxt::xml
