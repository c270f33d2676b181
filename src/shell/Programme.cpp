#include "shell/Programme.h"

namespace arbrix {

EtatProgramme& Programme() {
    static EtatProgramme etat;
    return etat;
}

} // namespace arbrix
