#include "settings/ParametresIni.h"

#include "settings/Cles.h"
#include "settings/Ini.h"
#include "settings/Trousseau.h"
#include "settings/Valeurs.h"
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

// Readers of section "Config" of one file.
struct Lecteur {
    const QString& fichier;
    QString Texte(const QString& cle) const { return LitIni(fichier, SectionConfig, cle, {}); }
    bool Booleen(const QString& cle, bool defaut) const {
        return LitBooleen(fichier, SectionConfig, cle, defaut);
    }
    qint16 Entier16(const QString& cle, qint16 defaut) const {
        return LitEntier16(fichier, SectionConfig, cle, defaut);
    }
    qint32 Entier32(const QString& cle, qint32 defaut) const {
        return LitEntier32(fichier, SectionConfig, cle, defaut);
    }
};

struct Ecrivain {
    LotIni& lot;
    void Texte(const QString& cle, const QString& valeur) const { lot.Ecrit(SectionConfig, cle, valeur); }
    void Booleen(const QString& cle, bool valeur) const { Texte(cle, TexteDuBooleen(valeur)); }
    void Entier(const QString& cle, qint64 valeur) const { Texte(cle, QString::number(valeur)); }
};

// The password goes to the keyring when there is one, and leaves the file; else it stays there
// scrambled, in a file that only its owner reads.
void EcritMotDePasse(LotIni& lot, const Parametres& p) {
    Trousseau* trousseau = TrousseauDisponible();
    if (trousseau && p.AccesADPassword.isEmpty())
        trousseau->efface(EntreeTrousseau(p));
    const bool garde =
        trousseau && !p.AccesADPassword.isEmpty() && trousseau->ecrit(EntreeTrousseau(p), p.AccesADPassword);
    const QString valeur = ChiffreMotDePasse(garde ? QString() : p.AccesADPassword);
    lot.Ecrit(SectionConfig, CleConfig::AccesADPassword, valeur,
              valeur.isEmpty() ? AccesIni::Conserve : AccesIni::ProprietaireSeul);
}

// A scrambled password left by an earlier run moves to the keyring at the first save that can.
void DeplaceMotDePasseVersTrousseau(LotIni& lot, const Parametres& p) {
    if (!p.AccesADPassword.isEmpty() && !lot.Lit(SectionConfig, CleConfig::AccesADPassword, {}).isEmpty() &&
        TrousseauDisponible())
        EcritMotDePasse(lot, p);
}

void EcritConfiguration(const Ecrivain& e, const Parametres& p) {
    using namespace CleConfig;
    e.Texte(Langue, p.Langue);
    e.Booleen(AnalyseAutreTypeSiAucuneReponse, p.AnalyseAutreTypeSiAucuneReponse);
    e.Entier(AnalyseParDefaut, p.AnalyseParDefaut);
    e.Booleen(ControlerVerrouilleExpire, p.ControlerVerrouilleExpire);
    e.Booleen(DeplierGroupesContenantComptesDesactivesVerrouillesExpires,
              p.DeplierGroupesContenantComptesDesactivesVerrouillesExpires);
    e.Booleen(DeplierGroupesContenantGroupesRecursifs, p.DeplierGroupesContenantGroupesRecursifs);
    e.Booleen(DeplierGroupesEtOU, p.DeplierGroupesEtOU);
    e.Booleen(RepresenterGroupesRacineOU, p.RepresenterGroupesRacineOU);
    e.Booleen(AfficherNombreMembres, p.AfficherNombreMembres);
    e.Entier(AccesAD, p.AccesAD);
    e.Texte(AccesADDomaine, p.AccesADDomaine);
    e.Texte(AccesADLogin, p.AccesADLogin);
    EcritMotDePasse(e.lot, p);
    e.Texte(AccesADServeur, p.AccesADServeur);
    e.Booleen(AccesADSansTLS, p.AccesADSansTLS);
    e.Texte(MessagerieCommande, p.MessagerieCommande);
    e.Texte(MessagerieExpediteur, p.MessagerieExpediteur);
}

void EcritOptionsFenetre(const Ecrivain& e, const Parametres& p) {
    using namespace CleConfig;
    e.Booleen(FenetreMemoriserTaille, p.FenetreMemoriserTaille);
    e.Booleen(FenetreMemoriserPosition, p.FenetreMemoriserPosition);
    e.Booleen(MinimiserSystray, p.MinimiserSystray);
    e.Booleen(ToujoursAuDessus, p.ToujoursAuDessus);
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
    using namespace CleConfig;
    const Lecteur l{cheminIni};
    const Parametres d;
    Parametres p;
    p.Langue = l.Texte(Langue);
    p.FenetreMemoriserTaille = l.Booleen(FenetreMemoriserTaille, d.FenetreMemoriserTaille);
    p.FenetreMemoriserPosition = l.Booleen(FenetreMemoriserPosition, d.FenetreMemoriserPosition);
    p.MinimiserSystray = l.Booleen(MinimiserSystray, d.MinimiserSystray);
    p.ToujoursAuDessus = l.Booleen(ToujoursAuDessus, d.ToujoursAuDessus);
    p.FenetreEtat = l.Entier16(FenetreEtat, d.FenetreEtat);
    p.FenetreHauteur = l.Entier32(FenetreHauteur, d.FenetreHauteur);
    p.FenetreLargeur = l.Entier32(FenetreLargeur, d.FenetreLargeur);
    p.FenetreGauche = l.Entier32(FenetreGauche, d.FenetreGauche);
    p.FenetreHaut = l.Entier32(FenetreHaut, d.FenetreHaut);
    p.AnalyseAutreTypeSiAucuneReponse =
        l.Booleen(AnalyseAutreTypeSiAucuneReponse, d.AnalyseAutreTypeSiAucuneReponse);
    p.AnalyseParDefaut = l.Entier16(AnalyseParDefaut, d.AnalyseParDefaut);
    // On for a new file; a file from before, without the key, was written with the check off.
    p.ControlerVerrouilleExpire =
        l.Booleen(ControlerVerrouilleExpire, FichierExiste(cheminIni) ? false : d.ControlerVerrouilleExpire);
    p.DeplierGroupesContenantComptesDesactivesVerrouillesExpires =
        l.Booleen(DeplierGroupesContenantComptesDesactivesVerrouillesExpires,
                  d.DeplierGroupesContenantComptesDesactivesVerrouillesExpires);
    p.DeplierGroupesContenantGroupesRecursifs =
        l.Booleen(DeplierGroupesContenantGroupesRecursifs, d.DeplierGroupesContenantGroupesRecursifs);
    p.DeplierGroupesEtOU = l.Booleen(DeplierGroupesEtOU, d.DeplierGroupesEtOU);
    p.RepresenterGroupesRacineOU = l.Booleen(RepresenterGroupesRacineOU, d.RepresenterGroupesRacineOU);
    p.AfficherNombreMembres = l.Booleen(AfficherNombreMembres, d.AfficherNombreMembres);
    p.RequetesSimultanees =
        qBound(qint16(1), l.Entier16(RequetesSimultanees, d.RequetesSimultanees), qint16(64));
    p.DelaiAnnuaire = qBound(qint16(2), l.Entier16(DelaiAnnuaire, d.DelaiAnnuaire), qint16(600));
    p.AccesAD = l.Entier16(AccesAD, d.AccesAD);
    p.AccesADServeur = l.Texte(AccesADServeur);
    p.AccesADDomaine = l.Texte(AccesADDomaine);
    p.AccesADLogin = l.Texte(AccesADLogin);
    p.AccesADPassword = DechiffreMotDePasse(l.Texte(AccesADPassword));
    if (p.AccesADPassword.isEmpty() && p.AccesAD > 0 && !p.AccesADLogin.isEmpty()) {
        if (Trousseau* trousseau = TrousseauCourant())
            p.AccesADPassword = trousseau->lit(EntreeTrousseau(p)).value_or(QString());
    }
    p.AccesADSansTLS = l.Booleen(AccesADSansTLS, d.AccesADSansTLS);
    p.TypeGroupe = l.Entier16(TypeGroupe, d.TypeGroupe);
    p.EtendueGroupe = l.Entier16(EtendueGroupe, d.EtendueGroupe);
    p.NbElementsMemorisesMax = l.Entier16(NbElementsMemorisesMax, d.NbElementsMemorisesMax);
    p.MessagerieCommande = l.Texte(MessagerieCommande);
    p.MessagerieExpediteur = l.Texte(MessagerieExpediteur);
    return p;
}

EcritureIni EcritParametresSortie(const QString& cheminIni, const Parametres& p,
                                  const DrapeauxSortie& drapeaux) {
    using namespace CleConfig;
    LotIni lot(cheminIni);
    const Ecrivain e{lot};
    if (drapeaux.ConfigurationModifiee) {
        EcritConfiguration(e, p);
    } else {
        if (lot.Lit(SectionConfig, ControlerVerrouilleExpire, {}).isEmpty())
            e.Booleen(ControlerVerrouilleExpire, p.ControlerVerrouilleExpire); // the file's first value
        DeplaceMotDePasseVersTrousseau(lot, p);
    }
    if (drapeaux.OptionsFenetreModifiees)
        EcritOptionsFenetre(e, p);
    if (p.FenetreMemoriserPosition) {
        e.Entier(FenetreGauche, p.FenetreGauche);
        e.Entier(FenetreHaut, p.FenetreHaut);
    }
    if (p.FenetreMemoriserTaille) {
        e.Entier(FenetreEtat, p.FenetreEtat);
        e.Entier(FenetreLargeur, p.FenetreLargeur);
        e.Entier(FenetreHauteur, p.FenetreHauteur);
    }
    e.Entier(TypeGroupe, p.TypeGroupe);
    e.Entier(EtendueGroupe, p.EtendueGroupe);
    e.Entier(NbElementsMemorisesMax, p.NbElementsMemorisesMax);
    const EcritureIni ecriture = lot.Enregistre();
    if (ecriture)
        ProtegeFichierParametres(cheminIni);
    return ecriture;
}

void ProtegeFichierParametres(const QString& cheminIni) {
    if (!LitIni(cheminIni, SectionConfig, CleConfig::AccesADPassword, {}).isEmpty())
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
