#include "shell/ui/Geometrie.h"

#include <QApplication>

namespace arbrix {

QFont PoliceInterface() {
    return QApplication::font();
}

} // namespace arbrix
