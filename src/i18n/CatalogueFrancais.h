#pragma once

#include <QList>
#include <QString>

namespace arbrix {

struct TexteParDéfaut {
    QString clé;
    QString texte;
};

// Every catalogue key with its built-in French text, in loading order.
const QList<TexteParDéfaut>& TextesParDéfaut();

} // namespace arbrix
