#include "text/Systeme.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QProcess>

namespace arbrix {

using namespace Qt::StringLiterals;

namespace {

QString SansSeparateurFinal(QString chemin) {
    while (chemin.size() > 1 && chemin.endsWith(u'/'))
        chemin.chop(1);
    return chemin;
}

QString DossierConfigurationUtilisateur() {
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (xdg.startsWith(u'/'))
        return SansSeparateurFinal(xdg);
    return SansSeparateurFinal(QDir::homePath()) + QStringLiteral("/.config");
}

QString PrefixeInstallation() {
    QString donnees = SansSeparateurFinal(QStringLiteral(ARBRIX_INSTALL_DATADIR));
    const QString suffixe = QStringLiteral("/share/arbrix");
    if (donnees.endsWith(suffixe))
        return donnees.left(donnees.size() - suffixe.size());
    return QFileInfo(QFileInfo(donnees).path()).path();
}

// Windows primary language numbers of ISO 639 language codes.
const QHash<QString, int>& NumerosLangues() {
    static const QHash<QString, int> numeros = {
        {u"ar"_s, 0x01}, {u"bg"_s, 0x02},   {u"ca"_s, 0x03},  {u"zh"_s, 0x04}, {u"cs"_s, 0x05},
        {u"da"_s, 0x06}, {u"de"_s, 0x07},   {u"el"_s, 0x08},  {u"en"_s, 0x09}, {u"es"_s, 0x0A},
        {u"fi"_s, 0x0B}, {u"fr"_s, 0x0C},   {u"he"_s, 0x0D},  {u"iw"_s, 0x0D}, {u"hu"_s, 0x0E},
        {u"is"_s, 0x0F}, {u"it"_s, 0x10},   {u"ja"_s, 0x11},  {u"ko"_s, 0x12}, {u"nl"_s, 0x13},
        {u"no"_s, 0x14}, {u"nb"_s, 0x14},   {u"nn"_s, 0x14},  {u"pl"_s, 0x15}, {u"pt"_s, 0x16},
        {u"rm"_s, 0x17}, {u"ro"_s, 0x18},   {u"ru"_s, 0x19},  {u"hr"_s, 0x1A}, {u"sr"_s, 0x1A},
        {u"bs"_s, 0x1A}, {u"sk"_s, 0x1B},   {u"sq"_s, 0x1C},  {u"sv"_s, 0x1D}, {u"th"_s, 0x1E},
        {u"tr"_s, 0x1F}, {u"ur"_s, 0x20},   {u"id"_s, 0x21},  {u"in"_s, 0x21}, {u"uk"_s, 0x22},
        {u"be"_s, 0x23}, {u"sl"_s, 0x24},   {u"et"_s, 0x25},  {u"lv"_s, 0x26}, {u"lt"_s, 0x27},
        {u"tg"_s, 0x28}, {u"fa"_s, 0x29},   {u"vi"_s, 0x2A},  {u"hy"_s, 0x2B}, {u"az"_s, 0x2C},
        {u"eu"_s, 0x2D}, {u"hsb"_s, 0x2E},  {u"dsb"_s, 0x2E}, {u"mk"_s, 0x2F}, {u"tn"_s, 0x32},
        {u"xh"_s, 0x34}, {u"zu"_s, 0x35},   {u"af"_s, 0x36},  {u"ka"_s, 0x37}, {u"fo"_s, 0x38},
        {u"hi"_s, 0x39}, {u"mt"_s, 0x3A},   {u"se"_s, 0x3B},  {u"ga"_s, 0x3C}, {u"ms"_s, 0x3E},
        {u"kk"_s, 0x3F}, {u"ky"_s, 0x40},   {u"sw"_s, 0x41},  {u"tk"_s, 0x42}, {u"uz"_s, 0x43},
        {u"tt"_s, 0x44}, {u"bn"_s, 0x45},   {u"pa"_s, 0x46},  {u"gu"_s, 0x47}, {u"or"_s, 0x48},
        {u"ta"_s, 0x49}, {u"te"_s, 0x4A},   {u"kn"_s, 0x4B},  {u"ml"_s, 0x4C}, {u"as"_s, 0x4D},
        {u"mr"_s, 0x4E}, {u"sa"_s, 0x4F},   {u"mn"_s, 0x50},  {u"bo"_s, 0x51}, {u"cy"_s, 0x52},
        {u"km"_s, 0x53}, {u"lo"_s, 0x54},   {u"gl"_s, 0x56},  {u"si"_s, 0x5B}, {u"am"_s, 0x5E},
        {u"ne"_s, 0x61}, {u"fy"_s, 0x62},   {u"ps"_s, 0x63},  {u"ha"_s, 0x68}, {u"yo"_s, 0x6A},
        {u"lb"_s, 0x6E}, {u"kl"_s, 0x6F},   {u"ig"_s, 0x70},  {u"ii"_s, 0x78}, {u"br"_s, 0x7E},
        {u"ug"_s, 0x80}, {u"oc"_s, 0x82},   {u"co"_s, 0x83},  {u"gd"_s, 0x91}, {u"ku"_s, 0x92},
        {u"c"_s, 0x09},  {u"posix"_s, 0x09}};
    return numeros;
}

} // namespace

QString DossierSpecial(int csidl) {
    switch (csidl) {
    case CsidlDonneesApplication:
        return DossierConfigurationUtilisateur();
    case CsidlProgrammes:
        return PrefixeInstallation();
    default:
        return {};
    }
}

QStringList PrefixesSysteme() {
    QStringList prefixes = {QStringLiteral("/usr"), QStringLiteral("/usr/local"), QStringLiteral("/opt")};
    const QString installation = PrefixeInstallation();
    if (!prefixes.contains(installation))
        prefixes.append(installation);
    return prefixes;
}

bool FichierExiste(const QString& chemin, int attributs) {
    if (chemin.isEmpty())
        return false;
    const QFileInfo info(chemin);
    if (!info.exists() || info.isDir() != bool(attributs & AttributDossier))
        return false;
    if ((attributs & AttributLectureSeule) && info.isWritable())
        return false;
    if ((attributs & AttributCache) && !info.fileName().startsWith(u'.'))
        return false;
    if ((attributs & AttributArchive) && !info.isFile())
        return false;
    return !(attributs & AttributSysteme);
}

void LanceCommande(const QString& programme, const QStringList& arguments) {
    if (programme.isEmpty())
        return;
    QProcess processus;
    processus.setProgram(programme);
    processus.setArguments(arguments);
    processus.setProcessEnvironment(EnvironnementEnfant());
    processus.startDetached();
}

QProcessEnvironment EnvironnementEnfant() {
    QProcessEnvironment environnement = QProcessEnvironment::systemEnvironment();
    environnement.remove(u"ARBRIX_PASSWORD"_s);
    return environnement;
}

int CodeLangueDeLocale(const QString& locale) {
    qsizetype fin = 0;
    while (fin < locale.size() && locale.at(fin).isLetter())
        ++fin;
    return NumerosLangues().value(locale.left(fin).toLower(), 0);
}

QString CodeIsoDeLangue(int numero) {
    QString code;
    for (auto it = NumerosLangues().cbegin(); it != NumerosLangues().cend(); ++it)
        if (it.value() == numero && numero != 0 && (code.isEmpty() || it.key() < code))
            code = it.key();
    return code;
}

int CodeLangueSysteme() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString valeur = qEnvironmentVariable(variable);
        if (!valeur.isEmpty())
            return CodeLangueDeLocale(valeur);
    }
    return CodeLangueDeLocale(QStringLiteral("C"));
}

QString CheminProgramme() {
    if (QCoreApplication::instance())
        return QCoreApplication::applicationFilePath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

QString DossierProgramme() {
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QFileInfo(CheminProgramme()).absolutePath();
}

} // namespace arbrix
