#include "shell/Programme.h"

namespace arbrix {

ÉtatProgramme& Programme() {
    static ÉtatProgramme état;
    return état;
}

} // namespace arbrix
