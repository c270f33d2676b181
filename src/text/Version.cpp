#include "text/Version.h"

#include "arbrix_version.h"

namespace arbrix {

namespace {

constexpr int RevisionBeta = 9999;

} // namespace

QString NomApplication() {
    return QStringLiteral("Arbrix");
}

QString TexteVersion(int majeure, int mineure, int revision) {
    if (revision == RevisionBeta)
        return QStringLiteral("v2.9 beta 2");
    QString texte = u'v' + QString::number(majeure) + u'.' + QString::number(mineure);
    if (revision >= 1)
        texte += u'.' + QString::number(revision);
    return texte;
}

QString TexteVersion() {
    return TexteVersion(ARBRIX_VERSION_MAJOR, ARBRIX_VERSION_MINOR, ARBRIX_VERSION_REVISION);
}

QString TitreApplication() {
    return NomApplication() + u' ' + TexteVersion();
}

bool EstVersionBeta(const QString& texteVersion) {
    return texteVersion.contains(u"beta", Qt::CaseInsensitive);
}

} // namespace arbrix
