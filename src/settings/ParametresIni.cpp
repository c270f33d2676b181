#include "settings/ParametresIni.h"

#include "settings/ChampsCles.h"
#include "settings/Cles.h"
#include "settings/Ini.h"
#include "settings/Trousseau.h"
#include "text/Texte.h"

#include <QDir>
#include <QFile>

namespace arbrix {

namespace {

const QString NomEditeur = QStringLiteral("Velmora");

bool SousPrefixe(const QString& dossier, const QString& prefixe) {
    if (prefixe.isEmpty())
        return false;
    return dossier == prefixe || dossier.startsWith(AjouteAntislash(prefixe));
}

QString NomFichierIni() {
    return NomApplication() + QStringLiteral(".ini");
}

const DescriptionCle& CleMotDePasse() {
    return *TrouveCle(CleConfig::AccesADPassword);
}

// The password goes to the keyring when there is one, and leaves the file; else it stays there
// scrambled, in a file that only its owner reads.
void EcritMotDePasse(LotIni& lot, Parametres p) {
    Trousseau* trousseau = TrousseauDisponible();
    if (trousseau && p.AccesADPassword.isEmpty())
        trousseau->efface(EntreeTrousseau(p));
    if (trousseau && !p.AccesADPassword.isEmpty() && trousseau->ecrit(EntreeTrousseau(p), p.AccesADPassword))
        p.AccesADPassword.clear();
    EcritChamp(lot, CleMotDePasse(), p);
}

// A scrambled password left by an earlier run moves to the keyring at the first save that can.
void DeplaceMotDePasseVersTrousseau(LotIni& lot, const Parametres& p) {
    const DescriptionCle& cle = CleMotDePasse();
    if (!p.AccesADPassword.isEmpty() && !lot.Lit(cle.section, cle.nom, {}).isEmpty() && TrousseauDisponible())
        EcritMotDePasse(lot, p);
}

bool EcriteALaSortie(MomentEcriture moment, const Parametres& p, const DrapeauxSortie& drapeaux) {
    switch (moment) {
    case MomentEcriture::Configuration:
        return drapeaux.ConfigurationModifiee;
    case MomentEcriture::OptionsFenetre:
        return drapeaux.OptionsFenetreModifiees;
    case MomentEcriture::Position:
        return p.FenetreMemoriserPosition;
    case MomentEcriture::Taille:
        return p.FenetreMemoriserTaille;
    case MomentEcriture::Sortie:
        return true;
    default:
        return false;
    }
}

// A file without the account check predates it and reads it as off: a new file gets the value
// written, so that it never reads as such an older file.
void EcritPremierControleComptes(LotIni& lot, const Parametres& p) {
    const DescriptionCle& cle = *TrouveCle(CleConfig::ControlerVerrouilleExpire);
    if (lot.Lit(cle.section, cle.nom, {}).isEmpty())
        EcritChamp(lot, cle, p);
}

// Scrambling key: the bytes of the text are combined with it position by position.
constexpr unsigned char CleBrouillage[] = {0x5A, 0xC3, 0x17, 0x8E, 0x21, 0xF4,
                                           0x6B, 0x39, 0xA7, 0x02, 0xD8, 0x4C};

QByteArray Brouille(QByteArray octets) {
    for (qsizetype i = 0; i < octets.size(); ++i)
        octets[i] = char(static_cast<unsigned char>(octets[i]) ^ CleBrouillage[i % sizeof CleBrouillage] ^
                         (i & 0xFF));
    return octets;
}

bool EstHexadecimal(const QString& texte) {
    for (const QChar c : texte) {
        const bool chiffre = (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
        if (!chiffre)
            return false;
    }
    return texte.size() % 2 == 0;
}

} // namespace

EmplacementParametres CalculeEmplacementParametres(const QString& dossierProgramme,
                                                   const QString& dossierConfiguration,
                                                   const QStringList& prefixesSysteme) {
    EmplacementParametres emplacement;
    for (const QString& prefixe : prefixesSysteme)
        emplacement.Installe = emplacement.Installe || SousPrefixe(dossierProgramme, prefixe);
    const QString fichierACote = AjouteAntislash(dossierProgramme) + NomFichierIni();
    if (!emplacement.Installe) {
        emplacement.DossierParametres = AjouteAntislash(dossierProgramme);
        emplacement.CheminIni = fichierACote;
        return emplacement;
    }
    emplacement.DossierEditeur = AjouteAntislash(AjouteAntislash(dossierConfiguration) + NomEditeur);
    emplacement.DossierParametres = AjouteAntislash(emplacement.DossierEditeur + NomApplication());
    emplacement.CheminIni = emplacement.DossierParametres + NomFichierIni();
    if (!FichierExiste(emplacement.CheminIni) && FichierExiste(fichierACote))
        emplacement.AncienFichier = fichierACote;
    return emplacement;
}

EmplacementParametres CalculeEmplacementParametres() {
    return CalculeEmplacementParametres(DossierProgramme(), DossierSpecial(CsidlDonneesApplication),
                                        PrefixesSysteme());
}

void PrepareDossierParametres(const EmplacementParametres& emplacement) {
    if (!emplacement.Installe)
        return;
    for (const QString& dossier : {emplacement.DossierEditeur, emplacement.DossierParametres}) {
        if (!FichierExiste(dossier, AttributDossier) && !QDir().mkpath(dossier))
            throw ErreurExecution(NumeroErreur::AccesFichier,
                                  QStringLiteral("Erreur d'accès au chemin : %1").arg(dossier));
    }
    if (emplacement.AncienFichier.isEmpty())
        return;
    if (!QFile::copy(emplacement.AncienFichier, emplacement.CheminIni))
        throw ErreurExecution(NumeroErreur::AccesFichier,
                              QStringLiteral("Erreur d'accès au fichier : %1").arg(emplacement.CheminIni));
    QFile::remove(emplacement.AncienFichier);
    ProtegeFichierParametres(emplacement.CheminIni);
}

Parametres LitParametres(const QString& cheminIni) {
    const LotIni lot(cheminIni);
    Parametres defauts;
    // On for a new file; a file from before, without the key, was written with the check off.
    if (FichierExiste(cheminIni))
        defauts.ControlerVerrouilleExpire = false;
    Parametres p;
    for (const DescriptionCle& cle : TableCles())
        LitChamp(lot, cle, p, defauts);
    if (p.AccesADPassword.isEmpty() && p.AccesAD > 0 && !p.AccesADLogin.isEmpty()) {
        if (Trousseau* trousseau = TrousseauCourant())
            p.AccesADPassword = trousseau->lit(EntreeTrousseau(p)).value_or(QString());
    }
    return p;
}

void EcritParametresSortie(LotIni& lot, const Parametres& p, const DrapeauxSortie& drapeaux) {
    if (!drapeaux.ConfigurationModifiee) {
        EcritPremierControleComptes(lot, p);
        DeplaceMotDePasseVersTrousseau(lot, p);
    }
    for (const DescriptionCle& cle : TableCles()) {
        if (!EcriteALaSortie(cle.moment, p, drapeaux))
            continue;
        if (cle.genre == GenreCle::MotDePasse)
            EcritMotDePasse(lot, p);
        else
            EcritChamp(lot, cle, p);
    }
}

EcritureIni EnregistreParametres(LotIni& lot) {
    const EcritureIni ecriture = lot.Enregistre();
    const DescriptionCle& cle = CleMotDePasse();
    if (ecriture && !lot.Lit(cle.section, cle.nom, {}).isEmpty())
        QFile::setPermissions(ecriture.fichier, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return ecriture;
}

EcritureIni EcritParametresSortie(const QString& cheminIni, const Parametres& parametres,
                                  const DrapeauxSortie& drapeaux) {
    LotIni lot(cheminIni);
    EcritParametresSortie(lot, parametres, drapeaux);
    return EnregistreParametres(lot);
}

void ProtegeFichierParametres(const QString& cheminIni) {
    const DescriptionCle& cle = CleMotDePasse();
    if (!LitIni(cheminIni, cle.section, cle.nom, {}).isEmpty())
        QFile::setPermissions(cheminIni, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

QString ChiffreMotDePasse(const QString& motDePasse) {
    return QString::fromLatin1(Brouille(motDePasse.toUtf8()).toHex().toUpper());
}

QString DechiffreMotDePasse(const QString& texte) {
    if (!EstHexadecimal(texte))
        return {};
    return QString::fromUtf8(Brouille(QByteArray::fromHex(texte.toLatin1())));
}

} // namespace arbrix
