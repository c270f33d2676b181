#include "export/ui/frmExporter.h"

#include "export/Export.h"
#include "i18n/Traductions.h"
#include "search/ui/Fenetres.h"
#include "tree/ui/BoiteMessage.h"
#include "tree/ui/PointeurAttente.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace arbrix {

using namespace Qt::StringLiterals;

namespace {

template <typename T> T* Controle(QWidget* parent, const QString& nom, const QString& texte = {}) {
    auto* c = new T(texte, parent);
    c->setObjectName(nom);
    return c;
}

// A text box's background tells whether it can be typed in, as the other windows show it.
void ActiveControle(QWidget* controle, bool actif) {
    controle->setEnabled(actif);
    QPalette palette = controle->palette();
    palette.setColor(QPalette::Base,
                     QApplication::palette().color(actif ? QPalette::Base : QPalette::Button));
    controle->setPalette(palette);
}

void Coche(QCheckBox* boite, bool coche) {
    const QSignalBlocker bloque(boite);
    boite->setChecked(coche);
}

void Choisit(QRadioButton* option) {
    const QSignalBlocker bloque(option);
    option->setChecked(true);
}

void Ecrit(QLineEdit* boite, const QString& texte) {
    if (boite->text() == texte)
        return;
    const QSignalBlocker bloque(boite);
    boite->setText(texte);
}

int HauteurLigne(const QWidget* texte) {
    return QFontMetrics(texte->font()).lineSpacing();
}

// The height a window may take on its screen, leaving room for the window manager's title bar.
int HauteurDisponible(const QWidget* fenetre) {
    constexpr int barreDeTitre = 40;
    const QScreen* ecran = fenetre->screen();
    return ecran ? ecran->availableGeometry().height() - barreDeTitre : QWIDGETSIZE_MAX;
}

} // namespace

frmExporter::frmExporter(const Noeud& noeud, const QString& fichierIni, QWidget* parent)
    : QDialog(parent)
    , m_noeud(noeud)
    , m_fichierIni(fichierIni)
    , m_regles(OptionsExport{}) {
    setObjectName(u"frmExporter"_s);
    setWindowTitle(u"Exporter"_s);

    auto* lblApercu = Controle<QLabel>(this, u"lblAperçu"_s, u"Aperçu"_s);
    txtApercu = new QPlainTextEdit(this);
    txtApercu->setObjectName(u"txtAperçu"_s);
    txtApercu->setReadOnly(true);
    txtApercu->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtApercu->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Tabs as wide as a text editor's, and room for the whole preview.
    const QFontMetrics mesures(txtApercu->font());
    txtApercu->setTabStopDistance(mesures.horizontalAdvance(u' ') * 4);
    txtApercu->setMinimumHeight(mesures.lineSpacing() * (LignesApercuMax / 2));
    lblApercu->setBuddy(txtApercu);

    btnOK = Controle<QPushButton>(this, u"btnOK"_s, u"&OK"_s);
    btnOK->setDefault(true);
    btnAnnuler = Controle<QPushButton>(this, u"btnAnnuler"_s, u"A&nnuler"_s);
    auto* boutons = new QHBoxLayout;
    boutons->addStretch();
    boutons->addWidget(btnOK);
    boutons->addWidget(btnAnnuler);

    auto* grille = new QGridLayout(this);
    grille->addWidget(creeEtendue(), 0, 0, 1, 2);
    grille->addWidget(creeContenu(), 1, 0);
    grille->addWidget(creeFormat(), 1, 1);
    grille->addWidget(creeType(), 2, 0);
    grille->addWidget(creeDestination(), 2, 1);
    grille->addWidget(lblApercu, 3, 0, 1, 2);
    grille->addWidget(txtApercu, 4, 0, 1, 2);
    grille->addLayout(boutons, 5, 0, 1, 2);
    grille->setRowStretch(4, 1);

    // Translated before the values go in: a text box's translation must never replace a value.
    TraduitFenetre(this);
    m_regles = ReglesExport(LitOptionsExport(fichierIni));
    afficheOptions();
    relieSignaux();
    AppliquePremierPlanDuParent(this);
    // The whole preview when the screen has room for it, title bar included; else what it allows.
    const int voulue = sizeHint().height() + HauteurLigne(txtApercu) * (LignesApercuMax / 2 + 1);
    resize(sizeHint().width(),
           std::max(minimumSizeHint().height(), std::min(voulue, HauteurDisponible(this))));
}

QGroupBox* frmExporter::creeEtendue() {
    auto* cadre = Controle<QGroupBox>(this, u"fraEtendue"_s, u"Etendue"_s);
    const QString textes[3] = {
        u"Noeud sélectionné et sa descendance complète (y compris les noeuds 'fermés')"_s,
        u"Noeud sélectionné et sa descendance limitée aux noeuds 'ouverts'"_s,
        u"Noeud sélectionné uniquement"_s};
    auto* disposition = new QVBoxLayout(cadre);
    for (int i = 0; i < 3; ++i) {
        optEtendue[i] = Controle<QRadioButton>(cadre, u"optEtendue_"_s + QString::number(i), textes[i]);
        disposition->addWidget(optEtendue[i]);
    }
    return cadre;
}

QGroupBox* frmExporter::creeContenu() {
    auto* cadre = Controle<QGroupBox>(this, u"fraContenu"_s, u"Contenu"_s);
    chkStructure = Controle<QCheckBox>(cadre, u"chkStructure"_s, u"Structure (O.U. et groupes)"_s);
    chkModeColonne = Controle<QCheckBox>(cadre, u"chkModeColonné"_s, u"Mode 'colonné'"_s);
    chkComptesUtilisateurs =
        Controle<QCheckBox>(cadre, u"chkComptesUtilisateurs"_s, u"Comptes utilisateurs"_s);
    chkComptesOrdinateurs = Controle<QCheckBox>(cadre, u"chkComptesOrdinateurs"_s, u"Comptes ordinateurs"_s);
    chkComptesDeService =
        Controle<QCheckBox>(cadre, u"chkComptesDeService"_s, u"Comptes de service (MSA et gMSA)"_s);
    chkAutresMembres = Controle<QCheckBox>(
        cadre, u"chkAutresMembres"_s, u"Autres membres (contacts, principaux de sécurité externes...)"_s);
    auto* disposition = new QVBoxLayout(cadre);
    disposition->addWidget(chkStructure);
    disposition->addWidget(chkModeColonne);
    disposition->addWidget(chkComptesUtilisateurs);
    disposition->addWidget(chkComptesOrdinateurs);
    disposition->addWidget(chkComptesDeService);
    disposition->addWidget(chkAutresMembres);
    return cadre;
}

QGroupBox* frmExporter::creeFormat() {
    auto* cadre = fraFormat = Controle<QGroupBox>(this, u"fraFormat"_s, u"Format"_s);
    const QString textes[4] = {u"Items identiques à l'affichage"_s,
                               u"Noms et comptes uniquement (sans info complémentaire)"_s,
                               u"Comptes uniquement"_s, u"Noms uniquement"_s};
    auto* disposition = new QGridLayout(cadre);
    for (int i = 0; i < 4; ++i) {
        optFormat[i] = Controle<QRadioButton>(cadre, u"optFormat_"_s + QString::number(i), textes[i]);
        disposition->addWidget(optFormat[i], i, 0, 1, 2);
    }
    txtIndentation = Controle<QLineEdit>(cadre, u"txtIndentation"_s);
    txtSeparateur = Controle<QLineEdit>(cadre, u"txtSéparateur"_s);
    auto* lblIndentation = Controle<QLabel>(cadre, u"lblIndentation"_s, u"Caractère d'indentation"_s);
    lblIndentation->setBuddy(txtIndentation);
    auto* lblSeparateur = Controle<QLabel>(cadre, u"lblSéparateur"_s, u"Séparateur"_s);
    lblSeparateur->setBuddy(txtSeparateur);
    auto* lblCaracteresInfo = Controle<QLabel>(cadre, u"lblCaractèresInfo"_s,
                                               u"(tabulation=\\t, retour-chariot=\\r, ligne suivante=\\n)"_s);
    disposition->addWidget(lblIndentation, 4, 0);
    disposition->addWidget(txtIndentation, 4, 1);
    disposition->addWidget(lblSeparateur, 5, 0);
    disposition->addWidget(txtSeparateur, 5, 1);
    disposition->addWidget(lblCaracteresInfo, 6, 0, 1, 2);
    disposition->setRowStretch(7, 1);
    return cadre;
}

QGroupBox* frmExporter::creeType() {
    auto* cadre = Controle<QGroupBox>(this, u"fraTypeExport"_s, u"Type"_s);
    const QString textes[3] = {u"Texte"_s, u"CSV"_s, u"JSON"_s};
    auto* disposition = new QGridLayout(cadre);
    for (int i = 0; i < 3; ++i) {
        optType[i] = Controle<QRadioButton>(cadre, u"optTypeExport_"_s + QString::number(i), textes[i]);
        disposition->addWidget(optType[i], 0, i);
    }
    chkFinLigneLF = Controle<QCheckBox>(cadre, u"chkFinLigneLF"_s, u"Fins de ligne LF (sans CR)"_s);
    disposition->addWidget(chkFinLigneLF, 1, 0, 1, 3);
    disposition->setColumnStretch(3, 1);
    return cadre;
}

QGroupBox* frmExporter::creeDestination() {
    auto* cadre = Controle<QGroupBox>(this, u"fraDestination"_s, u"Destination"_s);
    auto* disposition = new QHBoxLayout(cadre);
    optDestination[0] = Controle<QRadioButton>(cadre, u"optDestination_0"_s, u"Presse-papiers"_s);
    optDestination[1] = Controle<QRadioButton>(cadre, u"optDestination_1"_s, u"Fichier"_s);
    disposition->addWidget(optDestination[0]);
    disposition->addWidget(optDestination[1]);
    disposition->addStretch();
    return cadre;
}

void frmExporter::relieSignaux() {
    // Each change goes through the rules, then the controls show where the rules left the options.
    const auto apres = [this](auto regle) {
        return [this, regle](auto valeur) {
            regle(valeur);
            afficheOptions();
        };
    };
    for (qint16 i = 0; i < 3; ++i)
        connect(optEtendue[i], &QRadioButton::toggled, this, [this, i](bool choisi) {
            if (choisi) {
                m_regles.ChoisitEtendue(i);
                afficheOptions();
            }
        });
    for (qint16 i = 0; i < 4; ++i)
        connect(optFormat[i], &QRadioButton::toggled, this, [this, i](bool choisi) {
            if (choisi) {
                m_regles.ChoisitFormat(i);
                afficheOptions();
            }
        });
    for (qint16 i = 0; i < 3; ++i)
        connect(optType[i], &QRadioButton::toggled, this, [this, i](bool choisi) {
            if (choisi) {
                m_regles.ChoisitType(i);
                afficheOptions();
            }
        });
    connect(chkFinLigneLF, &QCheckBox::toggled, this, apres([this](bool c) {
                m_regles.ChoisitFinLigne(c ? FinLigneExport::Lf : FinLigneExport::CrLf);
            }));
    // The destination does not change the text: no preview.
    for (qint16 i = 0; i < 2; ++i)
        connect(optDestination[i], &QRadioButton::toggled, this, [this, i](bool choisi) {
            if (choisi)
                m_regles.ChoisitDestination(i);
        });
    connect(chkStructure, &QCheckBox::toggled, this, apres([this](bool c) { m_regles.CocheStructure(c); }));
    connect(chkModeColonne, &QCheckBox::toggled, this,
            apres([this](bool c) { m_regles.CocheModeColonne(c); }));
    connect(chkComptesUtilisateurs, &QCheckBox::toggled, this,
            apres([this](bool c) { m_regles.CocheComptesUtilisateurs(c); }));
    connect(chkComptesOrdinateurs, &QCheckBox::toggled, this,
            apres([this](bool c) { m_regles.CocheComptesOrdinateurs(c); }));
    connect(chkComptesDeService, &QCheckBox::toggled, this,
            apres([this](bool c) { m_regles.CocheComptesDeService(c); }));
    connect(chkAutresMembres, &QCheckBox::toggled, this,
            apres([this](bool c) { m_regles.CocheAutresMembres(c); }));
    connect(txtIndentation, &QLineEdit::textChanged, this,
            apres([this](const QString& t) { m_regles.ChangeIndentation(t); }));
    connect(txtSeparateur, &QLineEdit::textChanged, this,
            apres([this](const QString& t) { m_regles.ChangeSeparateur(t); }));
    connect(btnOK, &QPushButton::clicked, this, &frmExporter::btnOK_Click);
    connect(btnAnnuler, &QPushButton::clicked, this, &QDialog::reject);
}

void frmExporter::afficheOptions() {
    const OptionsExport& o = m_regles.Options();
    Choisit(optEtendue[o.Etendue]);
    Choisit(optFormat[o.Format]);
    Choisit(optType[o.Type]);
    Choisit(optDestination[o.Destination]);
    Coche(chkStructure, o.Structure);
    Coche(chkModeColonne, o.ModeColonne);
    chkStructure->setEnabled(m_regles.OptionsTexteActives());
    chkModeColonne->setEnabled(m_regles.ModeColonneActif());
    Coche(chkComptesUtilisateurs, o.ComptesUtilisateurs);
    Coche(chkComptesOrdinateurs, o.ComptesOrdinateurs);
    Coche(chkComptesDeService, o.ComptesDeService);
    Coche(chkAutresMembres, o.AutresMembres);
    Coche(chkFinLigneLF, o.FinLigne == FinLigneExport::Lf);
    chkFinLigneLF->setEnabled(m_regles.FinLigneActive());
    Ecrit(txtIndentation, o.Indentation);
    Ecrit(txtSeparateur, o.Separateur);
    // The documents have a layout of their own: the text's options are greyed, kept as they are.
    fraFormat->setEnabled(m_regles.OptionsTexteActives());
    ActiveControle(txtIndentation, m_regles.IndentationActive());
    ActiveControle(txtSeparateur, m_regles.OptionsTexteActives());
    rafraichitApercu();
}

void frmExporter::rafraichitApercu() {
    txtApercu->setPlainText(GenereExportSelonType(m_noeud, m_regles.Options(), true));
}

void frmExporter::btnOK_Click() {
    if (!exporte())
        return;
    // The export is done: options that could not be saved are told, and the dialog still closes.
    if (const EcritureIni ecriture = EcritOptionsExport(m_fichierIni, m_regles.Options()); !ecriture)
        AfficheMessage(this, MessageEcritureParametres(ecriture), IconeMessage::Exclamation,
                       BoutonsMessage::Ok, ReponseMessage::Ok, {},
                       windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    accept();
}

bool frmExporter::exporte() {
    const OptionsExport& o = m_regles.Options();
    if (o.Destination == DestinationExport::PressePapiers) {
        PointeurAttente().Pendant(
            [&] { QApplication::clipboard()->setText(GenereExportSelonType(m_noeud, o, false)); });
        return true;
    }
    // A cancelled save dialog writes nothing but keeps the options, the last file included.
    const std::optional<QString> chemin = choisitFichier(DepartEnregistrementExport(o.Fichier, o.Type));
    if (!chemin)
        return true;
    std::optional<ErreurExport> erreur;
    PointeurAttente().Pendant([&] { erreur = ExporteVersFichier(m_noeud, o, *chemin); });
    if (erreur) {
        AfficheMessage(this, MessageErreurExport(*erreur), IconeMessage::Critique, BoutonsMessage::Ok,
                       ReponseMessage::Ok, {}, windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        return false;
    }
    m_regles.ChangeFichier(*chemin);
    return true;
}

std::optional<QString> frmExporter::choisitFichier(const DepartEnregistrement& depart) {
    QFileDialog dialogue(this, Traduction(u"TXT_EXPORTER_VERS"), depart.dossier);
    dialogue.setObjectName(u"dlgExporterVers"_s);
    dialogue.setAcceptMode(QFileDialog::AcceptSave);
    dialogue.setFileMode(QFileDialog::AnyFile);
    dialogue.setDefaultSuffix(depart.suffixe);
    dialogue.setNameFilters({depart.filtre, Traduction(u"TXT_TOUS_FICHIERS") + u" (*)"_s});
    if (!depart.nom.isEmpty())
        dialogue.selectFile(depart.nom);
    if (dialogue.exec() != QDialog::Accepted || dialogue.selectedFiles().isEmpty())
        return std::nullopt;
    // The dialog leaves the suffix out when the current folder holds a folder of the typed name.
    QString chemin = dialogue.selectedFiles().constFirst();
    if (!QFileInfo(chemin).fileName().contains(u'.'))
        chemin += u'.' + depart.suffixe;
    return chemin;
}

bool frmExporter::Affiche(QWidget* parent, const Noeud& noeud, const QString& fichierIni) {
    frmExporter dialogue(noeud, fichierIni, parent);
    return dialogue.exec() == QDialog::Accepted;
}

} // namespace arbrix
