#include "primequery/query_work.h"

namespace primequery {
QueryWork queryWork{};
}  // namespace primequery
