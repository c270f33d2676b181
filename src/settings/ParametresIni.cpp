#include "settings/ParametresIni.h"

#include "settings/Cles.h"
#include "settings/Ini.h"
#include "settings/Valeurs.h"
#include "text/Texte.h"

#include <QDir>
#include <QFile>

namespace arbrix {

namespace {

const QString NomÉditeur = QStringLiteral("Velmora");

bool SousPréfixe(const QString& dossier, const QString& préfixe) {
    if (préfixe.isEmpty())
        return false;
    return dossier == préfixe || dossier.startsWith(AjouteAntislash(préfixe));
}

QString NomFichierIni() {
    return NomApplication() + QStringLiteral(".ini");
}

// Readers of section "Config" of one file.
struct Lecteur {
    const QString& fichier;
    QString Texte(const QString& clé) const { return LitIni(fichier, SectionConfig, clé, {}); }
    bool Booléen(const QString& clé, bool défaut) const {
        return LitBooléen(fichier, SectionConfig, clé, défaut);
    }
    qint16 Entier16(const QString& clé, qint16 défaut) const {
        return LitEntier16(fichier, SectionConfig, clé, défaut);
    }
    qint32 Entier32(const QString& clé, qint32 défaut) const {
        return LitEntier32(fichier, SectionConfig, clé, défaut);
    }
};

struct Écrivain {
    const QString& fichier;
    void Texte(const QString& clé, const QString& valeur) const {
        EcritIni(fichier, SectionConfig, clé, valeur);
    }
    void Booléen(const QString& clé, bool valeur) const { EcritBooléen(fichier, SectionConfig, clé, valeur); }
    void Entier(const QString& clé, qint64 valeur) const { EcritEntier(fichier, SectionConfig, clé, valeur); }
};

void EcritConfiguration(const Écrivain& é, const Paramètres& p) {
    using namespace CléConfig;
    é.Texte(Langue, p.Langue);
    é.Booléen(AnalyseAutreTypeSiAucuneReponse, p.AnalyseAutreTypeSiAucuneReponse);
    é.Entier(AnalyseParDéfaut, p.AnalyseParDéfaut);
    é.Booléen(ContrôlerVerrouilléExpiré, p.ContrôlerVerrouilléExpiré);
    é.Booléen(DéplierGroupesContenantComptesDésactivésVerrouillésExpirés,
              p.DéplierGroupesContenantComptesDésactivésVerrouillésExpirés);
    é.Booléen(DéplierGroupesContenantGroupesRécursifs, p.DéplierGroupesContenantGroupesRécursifs);
    é.Booléen(DéplierGroupesEtOU, p.DéplierGroupesEtOU);
    é.Booléen(ReprésenterGroupesRacineOU, p.ReprésenterGroupesRacineOU);
    é.Booléen(AfficherNombreMembres, p.AfficherNombreMembres);
    é.Entier(AccèsAD, p.AccèsAD);
    é.Texte(AccèsADDomaine, p.AccèsADDomaine);
    é.Texte(AccèsADLogin, p.AccèsADLogin);
    // The scrambled password never sits in a file others can read.
    EcritIni(é.fichier, SectionConfig, AccèsADPassword, ChiffreMotDePasse(p.AccèsADPassword),
             p.AccèsADPassword.isEmpty() ? AccèsIni::Conservé : AccèsIni::PropriétaireSeul);
    é.Texte(AccèsADServeur, p.AccèsADServeur);
}

void EcritOptionsFenêtre(const Écrivain& é, const Paramètres& p) {
    using namespace CléConfig;
    é.Booléen(FenêtreMémoriserTaille, p.FenêtreMémoriserTaille);
    é.Booléen(FenêtreMémoriserPosition, p.FenêtreMémoriserPosition);
    é.Booléen(MinimiserSystray, p.MinimiserSystray);
    é.Booléen(ToujoursAuDessus, p.ToujoursAuDessus);
}

// Scrambling key: the bytes of the text are combined with it position by position.
constexpr unsigned char CléBrouillage[] = {0x5A, 0xC3, 0x17, 0x8E, 0x21, 0xF4,
                                           0x6B, 0x39, 0xA7, 0x02, 0xD8, 0x4C};

QByteArray Brouille(QByteArray octets) {
    for (qsizetype i = 0; i < octets.size(); ++i)
        octets[i] = char(static_cast<unsigned char>(octets[i]) ^ CléBrouillage[i % sizeof CléBrouillage] ^
                         (i & 0xFF));
    return octets;
}

bool EstHexadécimal(const QString& texte) {
    for (const QChar c : texte) {
        const bool chiffre = (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
        if (!chiffre)
            return false;
    }
    return texte.size() % 2 == 0;
}

} // namespace

EmplacementParamètres CalculeEmplacementParamètres(const QString& dossierProgramme,
                                                   const QString& dossierConfiguration,
                                                   const QStringList& préfixesSystème) {
    EmplacementParamètres emplacement;
    for (const QString& préfixe : préfixesSystème)
        emplacement.Installé = emplacement.Installé || SousPréfixe(dossierProgramme, préfixe);
    const QString fichierÀCôté = AjouteAntislash(dossierProgramme) + NomFichierIni();
    if (!emplacement.Installé) {
        emplacement.DossierParamètres = AjouteAntislash(dossierProgramme);
        emplacement.CheminIni = fichierÀCôté;
        return emplacement;
    }
    emplacement.DossierÉditeur = AjouteAntislash(AjouteAntislash(dossierConfiguration) + NomÉditeur);
    emplacement.DossierParamètres = AjouteAntislash(emplacement.DossierÉditeur + NomApplication());
    emplacement.CheminIni = emplacement.DossierParamètres + NomFichierIni();
    if (!FichierExiste(emplacement.CheminIni) && FichierExiste(fichierÀCôté))
        emplacement.AncienFichier = fichierÀCôté;
    return emplacement;
}

EmplacementParamètres CalculeEmplacementParamètres() {
    return CalculeEmplacementParamètres(DossierProgramme(), DossierSpécial(CsidlDonnéesApplication),
                                        PréfixesSystème());
}

void PrépareDossierParamètres(const EmplacementParamètres& emplacement) {
    if (!emplacement.Installé)
        return;
    for (const QString& dossier : {emplacement.DossierÉditeur, emplacement.DossierParamètres}) {
        if (!FichierExiste(dossier, AttributDossier) && !QDir().mkpath(dossier))
            throw ErreurExécution(NuméroErreur::AccèsFichier,
                                  QStringLiteral("Erreur d'accès au chemin : %1").arg(dossier));
    }
    if (emplacement.AncienFichier.isEmpty())
        return;
    if (!QFile::copy(emplacement.AncienFichier, emplacement.CheminIni))
        throw ErreurExécution(NuméroErreur::AccèsFichier,
                              QStringLiteral("Erreur d'accès au fichier : %1").arg(emplacement.CheminIni));
    QFile::remove(emplacement.AncienFichier);
    ProtègeFichierParamètres(emplacement.CheminIni);
}

Paramètres LitParamètres(const QString& cheminIni) {
    using namespace CléConfig;
    const Lecteur l{cheminIni};
    const Paramètres d;
    Paramètres p;
    p.Langue = l.Texte(Langue);
    p.FenêtreMémoriserTaille = l.Booléen(FenêtreMémoriserTaille, d.FenêtreMémoriserTaille);
    p.FenêtreMémoriserPosition = l.Booléen(FenêtreMémoriserPosition, d.FenêtreMémoriserPosition);
    p.MinimiserSystray = l.Booléen(MinimiserSystray, d.MinimiserSystray);
    p.ToujoursAuDessus = l.Booléen(ToujoursAuDessus, d.ToujoursAuDessus);
    p.FenêtreEtat = l.Entier16(FenêtreEtat, d.FenêtreEtat);
    p.FenêtreHauteur = l.Entier32(FenêtreHauteur, d.FenêtreHauteur);
    p.FenêtreLargeur = l.Entier32(FenêtreLargeur, d.FenêtreLargeur);
    p.FenêtreGauche = l.Entier32(FenêtreGauche, d.FenêtreGauche);
    p.FenêtreHaut = l.Entier32(FenêtreHaut, d.FenêtreHaut);
    p.AnalyseAutreTypeSiAucuneReponse =
        l.Booléen(AnalyseAutreTypeSiAucuneReponse, d.AnalyseAutreTypeSiAucuneReponse);
    p.AnalyseParDéfaut = l.Entier16(AnalyseParDéfaut, d.AnalyseParDéfaut);
    p.ContrôlerVerrouilléExpiré = l.Booléen(ContrôlerVerrouilléExpiré, d.ContrôlerVerrouilléExpiré);
    p.DéplierGroupesContenantComptesDésactivésVerrouillésExpirés =
        l.Booléen(DéplierGroupesContenantComptesDésactivésVerrouillésExpirés,
                  d.DéplierGroupesContenantComptesDésactivésVerrouillésExpirés);
    p.DéplierGroupesContenantGroupesRécursifs =
        l.Booléen(DéplierGroupesContenantGroupesRécursifs, d.DéplierGroupesContenantGroupesRécursifs);
    p.DéplierGroupesEtOU = l.Booléen(DéplierGroupesEtOU, d.DéplierGroupesEtOU);
    p.ReprésenterGroupesRacineOU = l.Booléen(ReprésenterGroupesRacineOU, d.ReprésenterGroupesRacineOU);
    p.AfficherNombreMembres = l.Booléen(AfficherNombreMembres, d.AfficherNombreMembres);
    p.AccèsAD = l.Entier16(AccèsAD, d.AccèsAD);
    p.AccèsADServeur = l.Texte(AccèsADServeur);
    p.AccèsADDomaine = l.Texte(AccèsADDomaine);
    p.AccèsADLogin = l.Texte(AccèsADLogin);
    p.AccèsADPassword = DéchiffreMotDePasse(l.Texte(AccèsADPassword));
    p.TypeGroupe = l.Entier16(TypeGroupe, d.TypeGroupe);
    p.EtendueGroupe = l.Entier16(EtendueGroupe, d.EtendueGroupe);
    p.NbElémentsMémorisésMax = l.Entier16(NbElémentsMémorisésMax, d.NbElémentsMémorisésMax);
    return p;
}

void EcritParamètresSortie(const QString& cheminIni, const Paramètres& p, const DrapeauxSortie& drapeaux) {
    using namespace CléConfig;
    const Écrivain é{cheminIni};
    if (drapeaux.ConfigurationModifiée)
        EcritConfiguration(é, p);
    if (drapeaux.OptionsFenêtreModifiées)
        EcritOptionsFenêtre(é, p);
    if (p.FenêtreMémoriserPosition) {
        é.Entier(FenêtreGauche, p.FenêtreGauche);
        é.Entier(FenêtreHaut, p.FenêtreHaut);
    }
    if (p.FenêtreMémoriserTaille) {
        é.Entier(FenêtreEtat, p.FenêtreEtat);
        é.Entier(FenêtreLargeur, p.FenêtreLargeur);
        é.Entier(FenêtreHauteur, p.FenêtreHauteur);
    }
    é.Entier(TypeGroupe, p.TypeGroupe);
    é.Entier(EtendueGroupe, p.EtendueGroupe);
    é.Entier(NbElémentsMémorisésMax, p.NbElémentsMémorisésMax);
    ProtègeFichierParamètres(cheminIni);
}

void ProtègeFichierParamètres(const QString& cheminIni) {
    if (!LitIni(cheminIni, SectionConfig, CléConfig::AccèsADPassword, {}).isEmpty())
        QFile::setPermissions(cheminIni, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

QString ChiffreMotDePasse(const QString& motDePasse) {
    return QString::fromLatin1(Brouille(motDePasse.toUtf8()).toHex().toUpper());
}

QString DéchiffreMotDePasse(const QString& texte) {
    if (!EstHexadécimal(texte))
        return {};
    return QString::fromUtf8(Brouille(QByteArray::fromHex(texte.toLatin1())));
}

} // namespace arbrix
