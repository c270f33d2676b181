#include "groupops/NomGroupe.h"

#include "directory/Dn.h"

namespace arbrix {

QString NomGroupeNettoye(const QString& saisie) {
    return saisie.trimmed();
}

std::optional<QString> RefusNomGroupe(const QString& nom) {
    static const QString interdits = QStringLiteral("/\\[]:;|=,+*?<>\"");
    if (nom.isEmpty())
        return QStringLiteral("MSG_ERREUR_NOM_GROUPE_VIDE_INTERDIT");
    for (const QChar c : nom) {
        if (interdits.contains(c))
            return QStringLiteral("MSG_ERREUR_CARACTERES_INTERDITS_NOM_GROUPE");
    }
    return std::nullopt;
}

QString RdnGroupe(const QString& nom) {
    return QStringLiteral("CN=") + EchappeValeurDn(nom);
}

qint32 ValeurGroupType(int type, int etendue) {
    const quint32 portee = etendue == 0 ? 4u : etendue == 1 ? 2u : 8u;
    return qint32((type == 0 ? 0x80000000u : 0u) | portee);
}

} // namespace arbrix
