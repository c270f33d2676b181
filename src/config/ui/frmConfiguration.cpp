#include "config/ui/frmConfiguration.h"

#include "directory/OuvertureAnnuaire.h"
#include "i18n/Langue.h"
#include "i18n/Traductions.h"
#include "search/ui/Fenetres.h"
#include "settings/Trousseau.h"
#include "text/Texte.h"
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

template <typename T> T* Controle(QWidget* parent, const QString& nom, const QString& texte = {}) {
    auto* c = new T(parent);
    c->setObjectName(nom);
    if constexpr (requires { c->setText(texte); }) {
        if (!texte.isEmpty())
            c->setText(texte);
    }
    return c;
}

QLabel* Etiquette(QWidget* parent, const QString& nom, const QString& texte, QWidget* champ) {
    auto* l = Controle<QLabel>(parent, nom, texte);
    l->setBuddy(champ);
    return l;
}

} // namespace

frmConfiguration::frmConfiguration(Parametres& parametres, Memos& memos, const QString& dossierLangues,
                                   QWidget* parent)
    : QDialog(parent)
    , m_parametres(parametres)
    , m_memos(memos) {
    setObjectName(u"frmConfiguration"_s);
    setWindowTitle(u"Configuration"_s);

    cboLangue = Controle<QComboBox>(this, u"cboLangue"_s);
    lblLangue = Etiquette(this, u"lblLangue"_s, u"Langue de l'interface"_s, cboLangue);
    auto* langue = new QHBoxLayout;
    langue->addWidget(lblLangue);
    langue->addWidget(cboLangue, 1);

    btnOK = Controle<QPushButton>(this, u"btnOK"_s, u"&OK"_s);
    btnOK->setDefault(true);
    btnAnnuler = Controle<QPushButton>(this, u"btnAnnuler"_s, u"A&nnuler"_s);
    auto* boutons = new QHBoxLayout;
    boutons->addStretch();
    boutons->addWidget(btnOK);
    boutons->addWidget(btnAnnuler);

    auto* grille = new QGridLayout(this);
    grille->addLayout(langue, 0, 0);
    grille->addWidget(creeAcces(), 1, 0);
    grille->addWidget(creeMemos(), 2, 0);
    grille->addWidget(creeAnalyse(), 0, 1, 3, 1);
    grille->addWidget(creeMessagerie(), 3, 0, 1, 2);
    grille->addLayout(boutons, 4, 0, 1, 2);

    // Translated before the values go in: a text box's translation must never replace a value.
    TraduitFenetre(this);
    if (lblAnnuaireEnvironnement)
        lblAnnuaireEnvironnement->setText(
            FormateMessage(Traduction(u"TXT_ANNUAIRE_ENVIRONNEMENT"), {AnnuaireDeLEnvironnement()}));
    lblEmplacementMotDePasse->setText(
        Traduction(TrousseauDisponible() ? u"TXT_MOT_DE_PASSE_TROUSSEAU" : u"TXT_MOT_DE_PASSE_FICHIER"));
    remplit(SaisieDepuis(parametres, memos), dossierLangues);
    AppliquePremierPlanDuParent(this);

    for (QRadioButton* option : optAccesAD)
        connect(option, &QRadioButton::toggled, this, &frmConfiguration::optAccesAD_Click);
    connect(chkAccesADSansTLS, &QCheckBox::toggled, this, &frmConfiguration::optAccesAD_Click);
    connect(lstMemos, &QListWidget::currentRowChanged, this, &frmConfiguration::metAJourBoutonsMemos);
    connect(btnMonter, &QPushButton::clicked, this, &frmConfiguration::btnMonter_Click);
    connect(btnDescendre, &QPushButton::clicked, this, &frmConfiguration::btnDescendre_Click);
    connect(btnSupprimer, &QPushButton::clicked, this, &frmConfiguration::btnSupprimer_Click);
    connect(btnOK, &QPushButton::clicked, this, &frmConfiguration::btnOK_Click);
    connect(btnAnnuler, &QPushButton::clicked, this, &QDialog::reject);
}

QGroupBox* frmConfiguration::creeAcces() {
    auto* cadre = Controle<QGroupBox>(this, u"fraAccèsAD"_s);
    cadre->setTitle(u"Accès à l'ActiveDirectory"_s);
    const QString textes[3] = {u"Compte de la session en cours"_s, u"Autre compte"_s,
                               u"Autre compte et domaine"_s};
    auto* disposition = new QFormLayout(cadre);
    for (int i = 0; i < 3; ++i) {
        optAccesAD[i] = Controle<QRadioButton>(cadre, u"optAccèsAD_"_s + QString::number(i), textes[i]);
        disposition->addRow(optAccesAD[i]);
    }
    txtAccesADServeur = Controle<QLineEdit>(cadre, u"txtAccèsADServeur"_s);
    txtAccesADServeur->setPlaceholderText(u"ldaps://dc.example.test"_s);
    txtAccesADDomaine = Controle<QLineEdit>(cadre, u"txtAccèsADDomaine"_s);
    txtAccesADLogin = Controle<QLineEdit>(cadre, u"txtAccèsADLogin"_s);
    txtAccesADPassword = Controle<QLineEdit>(cadre, u"txtAccèsADPassword"_s);
    txtAccesADPassword->setEchoMode(QLineEdit::Password);
    disposition->addRow(Etiquette(cadre, u"lblAccèsADServeur"_s, u"Serveur"_s, txtAccesADServeur),
                        txtAccesADServeur);
    disposition->addRow(Etiquette(cadre, u"lblAccèsADDomaine"_s, u"Domaine"_s, txtAccesADDomaine),
                        txtAccesADDomaine);
    disposition->addRow(Etiquette(cadre, u"lblAccèsADLogin"_s, u"Compte"_s, txtAccesADLogin),
                        txtAccesADLogin);
    disposition->addRow(Etiquette(cadre, u"lblAccèsADPassword"_s, u"Mot de passe"_s, txtAccesADPassword),
                        txtAccesADPassword);
    lblEmplacementMotDePasse = Controle<QLabel>(cadre, u"lblEmplacementMotDePasse"_s);
    disposition->addRow(lblEmplacementMotDePasse);
    chkAccesADSansTLS = Controle<QCheckBox>(cadre, u"chkAccèsADSansTLS"_s,
                                            u"Mot de passe en clair si le serveur n'a pas &TLS"_s);
    disposition->addRow(chkAccesADSansTLS);
    lblAvertissementSansTLS =
        Controle<QLabel>(cadre, u"lblAvertissementSansTLS"_s,
                         u"Attention : lisible sur le réseau. Pour un annuaire de test."_s);
    lblAvertissementSansTLS->setStyleSheet(u"color: #b00020"_s);
    disposition->addRow(lblAvertissementSansTLS);
    // The variable outranks the server setting: say so, or the user edits a field that does nothing.
    const QString environnement = AnnuaireDeLEnvironnement();
    if (!environnement.isEmpty()) {
        lblAnnuaireEnvironnement = Controle<QLabel>(cadre, u"lblAnnuaireEnvironnement"_s);
        lblAnnuaireEnvironnement->setWordWrap(true);
        lblAnnuaireEnvironnement->setTextInteractionFlags(Qt::TextSelectableByMouse);
        disposition->addRow(lblAnnuaireEnvironnement);
    }
    return cadre;
}

QGroupBox* frmConfiguration::creeAnalyse() {
    auto* cadre = Controle<QGroupBox>(this, u"fraAnalyse"_s);
    cadre->setTitle(u"Analyse"_s);
    cboAnalyseParDefaut = Controle<QComboBox>(cadre, u"cboAnalyseParDéfaut"_s);
    for (qint16 mode = Mode::Standard; mode <= Mode::StructureEtendue; ++mode)
        cboAnalyseParDefaut->addItem(Traduction(CleTexteMode(mode)), mode);
    auto* disposition = new QVBoxLayout(cadre);
    disposition->addWidget(
        Etiquette(cadre, u"lblAnalyseParDéfaut"_s, u"Analyse par défaut"_s, cboAnalyseParDefaut));
    disposition->addWidget(cboAnalyseParDefaut);
    auto coche = [&](const QString& nom, const QString& texte) {
        auto* c = Controle<QCheckBox>(cadre, nom, texte);
        disposition->addWidget(c);
        return c;
    };
    chkAnalyseAutreTypeSiAucuneReponse =
        coche(u"chkAnalyseAutreTypeSiAucuneReponse"_s,
              u"Rechercher l'autre type (O.U. ou groupe) si aucune réponse"_s);
    chkControlerVerrouilleExpire =
        coche(u"chkContrôlerVerrouilléExpiré"_s, u"Contrôler si les comptes sont verrouillés ou expirés"_s);
    chkDeplierGroupesContenantComptesDesactivesVerrouillesExpires =
        coche(u"chkDéplierGroupesContenantComptesDésactivésVerrouillésExpirés"_s,
              u"Déplier les groupes contenant des comptes désactivés, verrouillés ou expirés"_s);
    chkDeplierGroupesContenantGroupesRecursifs =
        coche(u"chkDéplierGroupesContenantGroupesRécursifs"_s,
              u"Déplier les groupes contenant des groupes récursifs"_s);
    chkDeplierGroupesEtOU = coche(u"chkDéplierGroupesEtOU"_s, u"Déplier les groupes et les O.U."_s);
    chkRepresenterGroupesRacineOU =
        coche(u"chkReprésenterGroupesRacineOU"_s, u"Représenter les groupes de l'O.U. racine"_s);
    chkAfficherNombreMembres = coche(u"chkAfficherNombreMembres"_s, u"Afficher le nombre de membres"_s);
    disposition->addStretch();
    return cadre;
}

QGroupBox* frmConfiguration::creeMemos() {
    auto* cadre = Controle<QGroupBox>(this, u"fraMémos"_s);
    cadre->setTitle(u"Recherches mémorisées"_s);
    lstMemos = Controle<QListWidget>(cadre, u"lstMémos"_s);
    lstMemos->setAccessibleName(Traduction(u"ACC_MEMOS"));
    lstMemos->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lstMemos->setTextElideMode(Qt::ElideRight);
    btnMonter = Controle<QPushButton>(cadre, u"btnMonter"_s, u"&Monter"_s);
    btnDescendre = Controle<QPushButton>(cadre, u"btnDescendre"_s, u"&Descendre"_s);
    btnSupprimer = Controle<QPushButton>(cadre, u"btnSupprimer"_s, u"S&upprimer"_s);
    txtNbElementsMemorisesMax = Controle<QLineEdit>(cadre, u"txtNbElémentsMémorisésMax"_s);
    txtNbElementsMemorisesMax->setMaximumWidth(80);

    auto* boutons = new QVBoxLayout;
    boutons->addWidget(btnMonter);
    boutons->addWidget(btnDescendre);
    boutons->addWidget(btnSupprimer);
    boutons->addStretch();
    auto* nombre = new QHBoxLayout;
    nombre->addWidget(Etiquette(cadre, u"lblNbElémentsMémorisésMax"_s,
                                u"Mémoriser les N derniers O.U./groupes recherchés"_s,
                                txtNbElementsMemorisesMax));
    nombre->addWidget(txtNbElementsMemorisesMax);
    nombre->addStretch();
    auto* grille = new QGridLayout(cadre);
    grille->addWidget(lstMemos, 0, 0);
    grille->addLayout(boutons, 0, 1);
    grille->addLayout(nombre, 1, 0, 1, 2);
    return cadre;
}

// Messages to members go by e-mail through a sendmail-compatible command.
QGroupBox* frmConfiguration::creeMessagerie() {
    auto* cadre = Controle<QGroupBox>(this, u"fraMessagerie"_s);
    cadre->setTitle(u"Envoi de messages (courrier électronique)"_s);
    txtMessagerieCommande = Controle<QLineEdit>(cadre, u"txtMessagerieCommande"_s);
    txtMessagerieCommande->setPlaceholderText(u"sendmail -i"_s);
    txtMessagerieExpediteur = Controle<QLineEdit>(cadre, u"txtMessagerieExpéditeur"_s);
    txtMessagerieExpediteur->setPlaceholderText(u"admin@example.org"_s);
    auto* disposition = new QFormLayout(cadre);
    disposition->addRow(
        Etiquette(cadre, u"lblMessagerieCommande"_s, u"Commande d'envoi"_s, txtMessagerieCommande),
        txtMessagerieCommande);
    disposition->addRow(
        Etiquette(cadre, u"lblMessagerieExpéditeur"_s, u"Adresse de l'expéditeur"_s, txtMessagerieExpediteur),
        txtMessagerieExpediteur);
    return cadre;
}

void frmConfiguration::remplit(const SaisieConfiguration& s, const QString& dossierLangues) {
    QStringList langues = LanguesDisponibles(dossierLangues);
    if (!langues.contains(s.Langue, Qt::CaseInsensitive))
        langues.append(s.Langue); // its file went away: keep the choice as it is
    cboLangue->addItems(langues);
    cboLangue->setCurrentIndex(std::max(0, cboLangue->findText(s.Langue, Qt::MatchFixedString)));

    optAccesAD[std::clamp<int>(s.AccesAD, 0, 2)]->setChecked(true);
    txtAccesADServeur->setText(s.AccesADServeur);
    txtAccesADDomaine->setText(s.AccesADDomaine);
    txtAccesADLogin->setText(s.AccesADLogin);
    txtAccesADPassword->setText(s.AccesADPassword);
    chkAccesADSansTLS->setChecked(s.AccesADSansTLS);
    optAccesAD_Click();

    const int mode = cboAnalyseParDefaut->findData(s.AnalyseParDefaut);
    cboAnalyseParDefaut->setCurrentIndex(mode >= 0 ? mode : 0);
    chkAnalyseAutreTypeSiAucuneReponse->setChecked(s.AnalyseAutreTypeSiAucuneReponse);
    chkControlerVerrouilleExpire->setChecked(s.ControlerVerrouilleExpire);
    chkDeplierGroupesContenantComptesDesactivesVerrouillesExpires->setChecked(
        s.DeplierGroupesContenantComptesDesactivesVerrouillesExpires);
    chkDeplierGroupesContenantGroupesRecursifs->setChecked(s.DeplierGroupesContenantGroupesRecursifs);
    chkDeplierGroupesEtOU->setChecked(s.DeplierGroupesEtOU);
    chkRepresenterGroupesRacineOU->setChecked(s.RepresenterGroupesRacineOU);
    chkAfficherNombreMembres->setChecked(s.AfficherNombreMembres);

    txtNbElementsMemorisesMax->setText(s.NbElementsMemorisesMax);
    txtMessagerieCommande->setText(s.MessagerieCommande);
    txtMessagerieExpediteur->setText(s.MessagerieExpediteur);
    m_edition = EditionMemos(s.ListeMemos);
    afficheMemos(-1);
}

SaisieConfiguration frmConfiguration::saisie() const {
    SaisieConfiguration s;
    s.Langue = cboLangue->currentText();
    for (qint16 i = 0; i < 3; ++i) {
        if (optAccesAD[i]->isChecked())
            s.AccesAD = i;
    }
    s.AccesADServeur = txtAccesADServeur->text();
    s.AccesADDomaine = txtAccesADDomaine->text();
    s.AccesADLogin = txtAccesADLogin->text();
    s.AccesADPassword = txtAccesADPassword->text();
    s.AccesADSansTLS = chkAccesADSansTLS->isChecked();
    s.AnalyseParDefaut = qint16(cboAnalyseParDefaut->currentData().toInt());
    s.AnalyseAutreTypeSiAucuneReponse = chkAnalyseAutreTypeSiAucuneReponse->isChecked();
    s.ControlerVerrouilleExpire = chkControlerVerrouilleExpire->isChecked();
    s.DeplierGroupesContenantComptesDesactivesVerrouillesExpires =
        chkDeplierGroupesContenantComptesDesactivesVerrouillesExpires->isChecked();
    s.DeplierGroupesContenantGroupesRecursifs = chkDeplierGroupesContenantGroupesRecursifs->isChecked();
    s.DeplierGroupesEtOU = chkDeplierGroupesEtOU->isChecked();
    s.RepresenterGroupesRacineOU = chkRepresenterGroupesRacineOU->isChecked();
    s.AfficherNombreMembres = chkAfficherNombreMembres->isChecked();
    s.NbElementsMemorisesMax = txtNbElementsMemorisesMax->text();
    s.MessagerieCommande = txtMessagerieCommande->text();
    s.MessagerieExpediteur = txtMessagerieExpediteur->text();
    s.ListeMemos = m_edition.Elements();
    return s;
}

// The domain is used by mode 2 only, the account and its password by modes 1 and 2.
void frmConfiguration::optAccesAD_Click() {
    const bool compte = !optAccesAD[0]->isChecked();
    txtAccesADDomaine->setEnabled(optAccesAD[2]->isChecked());
    txtAccesADLogin->setEnabled(compte);
    txtAccesADPassword->setEnabled(compte);
    chkAccesADSansTLS->setEnabled(compte);
    lblEmplacementMotDePasse->setVisible(compte);
    lblAvertissementSansTLS->setVisible(compte && chkAccesADSansTLS->isChecked());
}

void frmConfiguration::afficheMemos(qsizetype selection) {
    lstMemos->clear();
    for (const EntreeMemo& e : m_edition.Elements())
        lstMemos->addItem(e.nom);
    lstMemos->setCurrentRow(int(selection));
    metAJourBoutonsMemos();
}

void frmConfiguration::metAJourBoutonsMemos() {
    const int i = lstMemos->currentRow();
    btnMonter->setEnabled(m_edition.PeutMonter(i));
    btnDescendre->setEnabled(m_edition.PeutDescendre(i));
    btnSupprimer->setEnabled(m_edition.PeutSupprimer(i));
}

void frmConfiguration::btnMonter_Click() {
    afficheMemos(m_edition.Monte(lstMemos->currentRow()));
}

void frmConfiguration::btnDescendre_Click() {
    afficheMemos(m_edition.Descend(lstMemos->currentRow()));
}

void frmConfiguration::btnSupprimer_Click() {
    afficheMemos(m_edition.Supprime(lstMemos->currentRow()));
}

void frmConfiguration::message(const QString& cle, bool erreur) {
    QMessageBox boite(erreur ? QMessageBox::Warning : QMessageBox::Information, TitreApplication(),
                      Traduction(cle), QMessageBox::Ok, this);
    boite.setObjectName(u"msgConfiguration"_s);
    boite.exec();
}

void frmConfiguration::btnOK_Click() {
    const SaisieConfiguration s = saisie();
    const ErreurSaisie erreur = VerifieSaisie(s);
    if (erreur != ErreurSaisie::Aucune) {
        message(CleMessage(erreur), true);
        QLineEdit* champ = erreur == ErreurSaisie::Domaine                ? txtAccesADDomaine
                           : erreur == ErreurSaisie::MessagerieCommande   ? txtMessagerieCommande
                           : erreur == ErreurSaisie::MessagerieExpediteur ? txtMessagerieExpediteur
                                                                          : txtNbElementsMemorisesMax;
        champ->setFocus();
        champ->selectAll();
        return;
    }
    m_issue = AppliqueSaisie(s, m_parametres, m_memos);
    if (m_issue.LangueChangee)
        message(u"MSG_CHANGEMENT_LANGUE"_s, false);
    m_annule = false;
    accept();
}

std::optional<IssueConfiguration> frmConfiguration::Affiche(QWidget* parent, Parametres& parametres,
                                                            Memos& memos) {
    frmConfiguration fenetre(parametres, memos, DossierDonnees(), parent);
    fenetre.exec();
    if (fenetre.DialogueAnnule())
        return std::nullopt;
    return fenetre.Issue();
}

} // namespace arbrix
