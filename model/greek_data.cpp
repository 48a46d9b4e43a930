#include "model/greek_data.h"

namespace ostrel {

void GreekData::clear() noexcept {}  // placeholder: the model owner fills this in

}  // namespace ostrel
