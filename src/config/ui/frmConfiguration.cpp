#include "config/ui/frmConfiguration.h"

#include "i18n/Langue.h"
#include "i18n/Traductions.h"
#include "search/ui/Fenetres.h"
#include "text/Version.h"
#include "tree/Analyse.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace arbrix {

using namespace Qt::StringLiterals;

namespace {

template <typename T> T* Contrôle(QWidget* parent, const QString& nom, const QString& texte = {}) {
    auto* c = new T(parent);
    c->setObjectName(nom);
    if constexpr (requires { c->setText(texte); }) {
        if (!texte.isEmpty())
            c->setText(texte);
    }
    return c;
}

QLabel* Étiquette(QWidget* parent, const QString& nom, const QString& texte, QWidget* champ) {
    auto* l = Contrôle<QLabel>(parent, nom, texte);
    l->setBuddy(champ);
    return l;
}

} // namespace

frmConfiguration::frmConfiguration(Paramètres& paramètres, Mémos& mémos, const QString& dossierLangues,
                                   QWidget* parent)
    : QDialog(parent)
    , m_paramètres(paramètres)
    , m_mémos(mémos) {
    setObjectName(u"frmConfiguration"_s);
    setWindowTitle(u"Configuration"_s);

    cboLangue = Contrôle<QComboBox>(this, u"cboLangue"_s);
    lblLangue = Étiquette(this, u"lblLangue"_s, u"Langue de l'interface"_s, cboLangue);
    auto* langue = new QHBoxLayout;
    langue->addWidget(lblLangue);
    langue->addWidget(cboLangue, 1);

    btnOK = Contrôle<QPushButton>(this, u"btnOK"_s, u"&OK"_s);
    btnOK->setDefault(true);
    btnAnnuler = Contrôle<QPushButton>(this, u"btnAnnuler"_s, u"A&nnuler"_s);
    auto* boutons = new QHBoxLayout;
    boutons->addStretch();
    boutons->addWidget(btnOK);
    boutons->addWidget(btnAnnuler);

    auto* grille = new QGridLayout(this);
    grille->addLayout(langue, 0, 0);
    grille->addWidget(créeAccès(), 1, 0);
    grille->addWidget(créeMémos(), 2, 0);
    grille->addWidget(créeAnalyse(), 0, 1, 3, 1);
    grille->addLayout(boutons, 3, 0, 1, 2);

    // Translated before the values go in: a text box's translation must never replace a value.
    TraduitFenêtre(this);
    remplit(SaisieDepuis(paramètres, mémos), dossierLangues);
    AppliquePremierPlanDuParent(this);

    for (QRadioButton* option : optAccèsAD)
        connect(option, &QRadioButton::toggled, this, &frmConfiguration::optAccèsAD_Click);
    connect(lstMémos, &QListWidget::currentRowChanged, this, &frmConfiguration::metÀJourBoutonsMémos);
    connect(btnMonter, &QPushButton::clicked, this, &frmConfiguration::btnMonter_Click);
    connect(btnDescendre, &QPushButton::clicked, this, &frmConfiguration::btnDescendre_Click);
    connect(btnSupprimer, &QPushButton::clicked, this, &frmConfiguration::btnSupprimer_Click);
    connect(btnOK, &QPushButton::clicked, this, &frmConfiguration::btnOK_Click);
    connect(btnAnnuler, &QPushButton::clicked, this, &QDialog::reject);
}

QGroupBox* frmConfiguration::créeAccès() {
    auto* cadre = Contrôle<QGroupBox>(this, u"fraAccèsAD"_s);
    cadre->setTitle(u"Accès à l'ActiveDirectory"_s);
    const QString textes[3] = {u"Compte de la session en cours"_s, u"Autre compte"_s,
                               u"Autre compte et domaine"_s};
    auto* disposition = new QFormLayout(cadre);
    for (int i = 0; i < 3; ++i) {
        optAccèsAD[i] = Contrôle<QRadioButton>(cadre, u"optAccèsAD_"_s + QString::number(i), textes[i]);
        disposition->addRow(optAccèsAD[i]);
    }
    txtAccèsADServeur = Contrôle<QLineEdit>(cadre, u"txtAccèsADServeur"_s);
    txtAccèsADServeur->setPlaceholderText(u"ldaps://dc.example.test"_s);
    txtAccèsADDomaine = Contrôle<QLineEdit>(cadre, u"txtAccèsADDomaine"_s);
    txtAccèsADLogin = Contrôle<QLineEdit>(cadre, u"txtAccèsADLogin"_s);
    txtAccèsADPassword = Contrôle<QLineEdit>(cadre, u"txtAccèsADPassword"_s);
    txtAccèsADPassword->setEchoMode(QLineEdit::Password);
    disposition->addRow(Étiquette(cadre, u"lblAccèsADServeur"_s, u"Serveur"_s, txtAccèsADServeur),
                        txtAccèsADServeur);
    disposition->addRow(Étiquette(cadre, u"lblAccèsADDomaine"_s, u"Domaine"_s, txtAccèsADDomaine),
                        txtAccèsADDomaine);
    disposition->addRow(Étiquette(cadre, u"lblAccèsADLogin"_s, u"Compte"_s, txtAccèsADLogin),
                        txtAccèsADLogin);
    disposition->addRow(Étiquette(cadre, u"lblAccèsADPassword"_s, u"Mot de passe"_s, txtAccèsADPassword),
                        txtAccèsADPassword);
    return cadre;
}

QGroupBox* frmConfiguration::créeAnalyse() {
    auto* cadre = Contrôle<QGroupBox>(this, u"fraAnalyse"_s);
    cadre->setTitle(u"Analyse"_s);
    cboAnalyseParDéfaut = Contrôle<QComboBox>(cadre, u"cboAnalyseParDéfaut"_s);
    for (qint16 mode = Mode::Standard; mode <= Mode::StructureEtendue; ++mode)
        cboAnalyseParDéfaut->addItem(Traduction(CléTexteMode(mode)), mode);
    auto* disposition = new QVBoxLayout(cadre);
    disposition->addWidget(
        Étiquette(cadre, u"lblAnalyseParDéfaut"_s, u"Analyse par défaut"_s, cboAnalyseParDéfaut));
    disposition->addWidget(cboAnalyseParDéfaut);
    auto coche = [&](const QString& nom, const QString& texte) {
        auto* c = Contrôle<QCheckBox>(cadre, nom, texte);
        disposition->addWidget(c);
        return c;
    };
    chkAnalyseAutreTypeSiAucuneReponse =
        coche(u"chkAnalyseAutreTypeSiAucuneReponse"_s,
              u"Rechercher l'autre type (O.U. ou groupe) si aucune réponse"_s);
    chkContrôlerVerrouilléExpiré =
        coche(u"chkContrôlerVerrouilléExpiré"_s, u"Contrôler si les comptes sont verrouillés ou expirés"_s);
    chkDéplierGroupesContenantComptesDésactivésVerrouillésExpirés =
        coche(u"chkDéplierGroupesContenantComptesDésactivésVerrouillésExpirés"_s,
              u"Déplier les groupes contenant des comptes désactivés, verrouillés ou expirés"_s);
    chkDéplierGroupesContenantGroupesRécursifs =
        coche(u"chkDéplierGroupesContenantGroupesRécursifs"_s,
              u"Déplier les groupes contenant des groupes récursifs"_s);
    chkDéplierGroupesEtOU = coche(u"chkDéplierGroupesEtOU"_s, u"Déplier les groupes et les O.U."_s);
    chkReprésenterGroupesRacineOU =
        coche(u"chkReprésenterGroupesRacineOU"_s, u"Représenter les groupes de l'O.U. racine"_s);
    chkAfficherNombreMembres = coche(u"chkAfficherNombreMembres"_s, u"Afficher le nombre de membres"_s);
    disposition->addStretch();
    return cadre;
}

QGroupBox* frmConfiguration::créeMémos() {
    auto* cadre = Contrôle<QGroupBox>(this, u"fraMémos"_s);
    cadre->setTitle(u"Recherches mémorisées"_s);
    lstMémos = Contrôle<QListWidget>(cadre, u"lstMémos"_s);
    lstMémos->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lstMémos->setTextElideMode(Qt::ElideRight);
    btnMonter = Contrôle<QPushButton>(cadre, u"btnMonter"_s, u"&Monter"_s);
    btnDescendre = Contrôle<QPushButton>(cadre, u"btnDescendre"_s, u"&Descendre"_s);
    btnSupprimer = Contrôle<QPushButton>(cadre, u"btnSupprimer"_s, u"S&upprimer"_s);
    txtNbElémentsMémorisésMax = Contrôle<QLineEdit>(cadre, u"txtNbElémentsMémorisésMax"_s);
    txtNbElémentsMémorisésMax->setMaximumWidth(80);

    auto* boutons = new QVBoxLayout;
    boutons->addWidget(btnMonter);
    boutons->addWidget(btnDescendre);
    boutons->addWidget(btnSupprimer);
    boutons->addStretch();
    auto* nombre = new QHBoxLayout;
    nombre->addWidget(Étiquette(cadre, u"lblNbElémentsMémorisésMax"_s,
                                u"Mémoriser les N derniers O.U./groupes recherchés"_s,
                                txtNbElémentsMémorisésMax));
    nombre->addWidget(txtNbElémentsMémorisésMax);
    nombre->addStretch();
    auto* grille = new QGridLayout(cadre);
    grille->addWidget(lstMémos, 0, 0);
    grille->addLayout(boutons, 0, 1);
    grille->addLayout(nombre, 1, 0, 1, 2);
    return cadre;
}

void frmConfiguration::remplit(const SaisieConfiguration& s, const QString& dossierLangues) {
    QStringList langues = LanguesDisponibles(dossierLangues);
    if (!langues.contains(s.Langue, Qt::CaseInsensitive))
        langues.append(s.Langue); // its file went away: keep the choice as it is
    cboLangue->addItems(langues);
    cboLangue->setCurrentIndex(std::max(0, cboLangue->findText(s.Langue, Qt::MatchFixedString)));

    optAccèsAD[std::clamp<int>(s.AccèsAD, 0, 2)]->setChecked(true);
    txtAccèsADServeur->setText(s.AccèsADServeur);
    txtAccèsADDomaine->setText(s.AccèsADDomaine);
    txtAccèsADLogin->setText(s.AccèsADLogin);
    txtAccèsADPassword->setText(s.AccèsADPassword);
    optAccèsAD_Click();

    const int mode = cboAnalyseParDéfaut->findData(s.AnalyseParDéfaut);
    cboAnalyseParDéfaut->setCurrentIndex(mode >= 0 ? mode : 0);
    chkAnalyseAutreTypeSiAucuneReponse->setChecked(s.AnalyseAutreTypeSiAucuneReponse);
    chkContrôlerVerrouilléExpiré->setChecked(s.ContrôlerVerrouilléExpiré);
    chkDéplierGroupesContenantComptesDésactivésVerrouillésExpirés->setChecked(
        s.DéplierGroupesContenantComptesDésactivésVerrouillésExpirés);
    chkDéplierGroupesContenantGroupesRécursifs->setChecked(s.DéplierGroupesContenantGroupesRécursifs);
    chkDéplierGroupesEtOU->setChecked(s.DéplierGroupesEtOU);
    chkReprésenterGroupesRacineOU->setChecked(s.ReprésenterGroupesRacineOU);
    chkAfficherNombreMembres->setChecked(s.AfficherNombreMembres);

    txtNbElémentsMémorisésMax->setText(s.NbElémentsMémorisésMax);
    m_édition = ÉditionMémos(s.ListeMémos);
    afficheMémos(-1);
}

SaisieConfiguration frmConfiguration::saisie() const {
    SaisieConfiguration s;
    s.Langue = cboLangue->currentText();
    for (qint16 i = 0; i < 3; ++i) {
        if (optAccèsAD[i]->isChecked())
            s.AccèsAD = i;
    }
    s.AccèsADServeur = txtAccèsADServeur->text();
    s.AccèsADDomaine = txtAccèsADDomaine->text();
    s.AccèsADLogin = txtAccèsADLogin->text();
    s.AccèsADPassword = txtAccèsADPassword->text();
    s.AnalyseParDéfaut = qint16(cboAnalyseParDéfaut->currentData().toInt());
    s.AnalyseAutreTypeSiAucuneReponse = chkAnalyseAutreTypeSiAucuneReponse->isChecked();
    s.ContrôlerVerrouilléExpiré = chkContrôlerVerrouilléExpiré->isChecked();
    s.DéplierGroupesContenantComptesDésactivésVerrouillésExpirés =
        chkDéplierGroupesContenantComptesDésactivésVerrouillésExpirés->isChecked();
    s.DéplierGroupesContenantGroupesRécursifs = chkDéplierGroupesContenantGroupesRécursifs->isChecked();
    s.DéplierGroupesEtOU = chkDéplierGroupesEtOU->isChecked();
    s.ReprésenterGroupesRacineOU = chkReprésenterGroupesRacineOU->isChecked();
    s.AfficherNombreMembres = chkAfficherNombreMembres->isChecked();
    s.NbElémentsMémorisésMax = txtNbElémentsMémorisésMax->text();
    s.ListeMémos = m_édition.Éléments();
    return s;
}

// The domain is used by mode 2 only, the account by modes 1 and 2.
void frmConfiguration::optAccèsAD_Click() {
    const bool compte = !optAccèsAD[0]->isChecked();
    txtAccèsADDomaine->setEnabled(optAccèsAD[2]->isChecked());
    txtAccèsADLogin->setEnabled(compte);
    txtAccèsADPassword->setEnabled(compte);
}

void frmConfiguration::afficheMémos(qsizetype sélection) {
    lstMémos->clear();
    for (const EntréeMémo& e : m_édition.Éléments())
        lstMémos->addItem(e.nom);
    lstMémos->setCurrentRow(int(sélection));
    metÀJourBoutonsMémos();
}

void frmConfiguration::metÀJourBoutonsMémos() {
    const int i = lstMémos->currentRow();
    btnMonter->setEnabled(m_édition.PeutMonter(i));
    btnDescendre->setEnabled(m_édition.PeutDescendre(i));
    btnSupprimer->setEnabled(m_édition.PeutSupprimer(i));
}

void frmConfiguration::btnMonter_Click() {
    afficheMémos(m_édition.Monte(lstMémos->currentRow()));
}

void frmConfiguration::btnDescendre_Click() {
    afficheMémos(m_édition.Descend(lstMémos->currentRow()));
}

void frmConfiguration::btnSupprimer_Click() {
    afficheMémos(m_édition.Supprime(lstMémos->currentRow()));
}

void frmConfiguration::message(const QString& clé, bool erreur) {
    QMessageBox boîte(erreur ? QMessageBox::Warning : QMessageBox::Information, TitreApplication(),
                      Traduction(clé), QMessageBox::Ok, this);
    boîte.setObjectName(u"msgConfiguration"_s);
    boîte.exec();
}

void frmConfiguration::btnOK_Click() {
    const SaisieConfiguration s = saisie();
    const ErreurSaisie erreur = VérifieSaisie(s);
    if (erreur != ErreurSaisie::Aucune) {
        message(CléMessage(erreur), true);
        QLineEdit* champ = erreur == ErreurSaisie::Domaine ? txtAccèsADDomaine : txtNbElémentsMémorisésMax;
        champ->setFocus();
        champ->selectAll();
        return;
    }
    m_issue = AppliqueSaisie(s, m_paramètres, m_mémos);
    if (m_issue.LangueChangée)
        message(u"MSG_CHANGEMENT_LANGUE"_s, false);
    m_annulé = false;
    accept();
}

std::optional<IssueConfiguration> frmConfiguration::Affiche(QWidget* parent, Paramètres& paramètres,
                                                            Mémos& mémos) {
    frmConfiguration fenêtre(paramètres, mémos, DossierDonnées(), parent);
    fenêtre.exec();
    if (fenêtre.DialogueAnnulé())
        return std::nullopt;
    return fenêtre.Issue();
}

} // namespace arbrix
