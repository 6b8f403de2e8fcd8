#include "install/dosbox_path.h"

namespace pellion {

std::string DosBoxPath;

}  // namespace pellion
