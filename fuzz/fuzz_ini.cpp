// Settings files (UTF-8 or Windows-1252) and their edits. The input is the file, then, after NUL
// bytes, a section, a key and a value to write, and a second section and key to watch.

#include "FuzzSupport.h"

#include "settings/DocumentIni.h"
#include "settings/Encodage.h"
#include "settings/Ini.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace arbrix;
using namespace arbrix::fuzz;
using namespace Qt::StringLiterals;

namespace {

bool SansSautDeLigne(const QString& texte) {
    return !texte.contains(u'\n') && !texte.contains(u'\r');
}

// Names the program could write: a section header or key line reads back as that name.
bool SectionEcrivable(const QString& section) {
    return !section.trimmed().isEmpty() && SansSautDeLigne(section) && !section.contains(u']');
}

bool CleEcrivable(const QString& cle) {
    const QString t = cle.trimmed();
    return !t.isEmpty() && SansSautDeLigne(cle) && !cle.contains(u'=') && !t.startsWith(u';') &&
           !t.startsWith(u'[');
}

QString CoupeAuSautDeLigne(QString valeur) {
    const qsizetype n = valeur.indexOf(QRegularExpression(u"[\r\n]"_s));
    return n < 0 ? valeur : valeur.left(n);
}

QString Partie(const QList<QByteArray>& parties, qsizetype i) {
    return i < parties.size() ? QString::fromUtf8(parties[i]) : QString();
}

const QString& Dossier() {
    static QTemporaryDir dossier;
    static const QString chemin = dossier.path();
    return chemin;
}

void EcritFichier(const QString& chemin, const QByteArray& octets) {
    QFile f(chemin);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(octets);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QList<QByteArray> parties = Parties(data, size);
    const QByteArray octets = parties.value(0);
    const QString section = Partie(parties, 1), cle = Partie(parties, 2), valeur = Partie(parties, 3);
    const QString section2 = Partie(parties, 4), cle2 = Partie(parties, 5);

    const QString texte = DecodeTexteFichier(octets);
    if (QString::fromUtf8(octets).toUtf8() == octets && !octets.startsWith("\xEF\xBB\xBF"))
        FUZZ_CHECK(texte.toUtf8() == octets, u"UTF-8 not kept"_s);
    DocumentIni document = DocumentIni::DuTexte(texte);
    FUZZ_CHECK(DocumentIni::DuTexte(document.Texte()).Lignes() == document.Lignes(), texte);

    if (!SectionEcrivable(section) || !CleEcrivable(cle))
        return 0;
    const std::optional<QString> avant = document.Valeur(section2, cle2);
    const bool memeCle = section.trimmed().compare(section2.trimmed(), Qt::CaseInsensitive) == 0 &&
                         cle.trimmed().compare(cle2.trimmed(), Qt::CaseInsensitive) == 0;
    document.Modifie(section, cle, valeur);
    const DocumentIni relu = DocumentIni::DuTexte(document.Texte());
    FUZZ_CHECK(relu.Valeur(section, cle) == CoupeAuSautDeLigne(valeur), document.Texte());
    if (!memeCle)
        FUZZ_CHECK(relu.Valeur(section2, cle2) == avant, document.Texte());

    // The same through a file: what is written is what is read.
    const QString fichier = Dossier() + u"/reglages.ini"_s;
    EcritFichier(fichier, octets);
    EcritIni(fichier, section, cle, valeur);
    FUZZ_CHECK(LitIni(fichier, section, cle, u"<absent>"_s) ==
                   CoupeAuSautDeLigne(valeur).left(LongueurMaxValeurIni),
               texte);
    if (!memeCle)
        FUZZ_CHECK(LitIni(fichier, section2, cle2, u"<absent>"_s) ==
                       avant.value_or(u"<absent>"_s).left(LongueurMaxValeurIni),
                   texte);
    return 0;
}
