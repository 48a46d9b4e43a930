#include "model/gex_data.h"

namespace ostrel {

void GexData::clear() noexcept {}  // placeholder: the model owner fills this in

}  // namespace ostrel
