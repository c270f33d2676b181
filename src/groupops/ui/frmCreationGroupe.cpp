#include "groupops/ui/frmCreationGroupe.h"

#include "groupops/NomGroupe.h"
#include "i18n/Traductions.h"
#include "search/ui/Fenetres.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace arbrix {

using namespace Qt::StringLiterals;

namespace {

// A frame of option buttons named nom_0, nom_1, ... (translation keys "nom(0)", ...).
QGroupBox* CadreOptions(QWidget* parent, const QString& cadre, const QString& nom, const QStringList& textes,
                        QButtonGroup* groupe) {
    auto* boite = new QGroupBox(parent);
    boite->setObjectName(cadre);
    auto* disposition = new QVBoxLayout(boite);
    for (int i = 0; i < textes.size(); ++i) {
        auto* option = new QRadioButton(textes[i], boite);
        option->setObjectName(nom + u'_' + QString::number(i));
        groupe->addButton(option, i);
        disposition->addWidget(option);
    }
    return boite;
}

QLabel* Etiquette(QWidget* parent, const QString& nom, const QString& texte) {
    auto* etiquette = new QLabel(texte, parent);
    etiquette->setObjectName(nom);
    etiquette->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return etiquette;
}

} // namespace

frmCreationGroupe::frmCreationGroupe(int type, int etendue, Interaction& interaction,
                                     ControleNomGroupe controle, QWidget* parent)
    : QDialog(parent)
    , m_interaction(interaction)
    , m_controle(std::move(controle)) {
    setObjectName(u"frmCréationGroupe"_s);
    setWindowTitle(u"Création d'un groupe"_s);

    lblNomGroupe = Etiquette(this, u"lblNomGroupe"_s, u"Nom"_s);
    txtNom = new QLineEdit(this);
    txtNom->setObjectName(u"txtNom"_s);
    lblNomGroupe->setBuddy(txtNom);
    m_types = new QButtonGroup(this);
    m_etendues = new QButtonGroup(this);
    QGroupBox* fraType = CadreOptions(this, u"fraTypeGroupe"_s, u"optTypeGroupe"_s,
                                      {u"Groupe de sécurité"_s, u"Groupe de distribution"_s}, m_types);
    QGroupBox* fraEtendue = CadreOptions(this, u"fraEtendueGroupe"_s, u"optEtendueGroupe"_s,
                                         {u"Locale"_s, u"Globale"_s, u"Universelle"_s}, m_etendues);
    btnOK = new QPushButton(u"&OK"_s, this);
    btnOK->setObjectName(u"btnOK"_s);
    btnOK->setDefault(true);
    btnAnnuler = new QPushButton(u"A&nnuler"_s, this);
    btnAnnuler->setObjectName(u"btnAnnuler"_s);

    auto* grille = new QGridLayout(this);
    grille->addWidget(lblNomGroupe, 0, 0);
    grille->addWidget(txtNom, 0, 1);
    grille->addWidget(Etiquette(this, u"lblTypeGroupe"_s, u"Type"_s), 1, 0);
    grille->addWidget(fraType, 1, 1);
    grille->addWidget(Etiquette(this, u"lblEtendueGroupe"_s, u"Etendue"_s), 2, 0);
    grille->addWidget(fraEtendue, 2, 1);
    auto* boutons = new QHBoxLayout;
    boutons->addStretch();
    boutons->addWidget(btnOK);
    boutons->addWidget(btnAnnuler);
    grille->addLayout(boutons, 3, 0, 1, 2);
    grille->setColumnStretch(1, 1);

    TraduitFenetre(this);
    m_types->button(type == 0 ? 0 : 1)->setChecked(true);
    m_etendues->button(std::clamp(etendue, 0, 2))->setChecked(true);
    txtNom_Change();

    connect(txtNom, &QLineEdit::textChanged, this, &frmCreationGroupe::txtNom_Change);
    connect(btnOK, &QPushButton::clicked, this, &frmCreationGroupe::btnOK_Click);
    connect(btnAnnuler, &QPushButton::clicked, this, &QDialog::reject);
    AppliquePremierPlanDuParent(this);
    setMinimumWidth(360);
}

// Blanks alone are no name.
void frmCreationGroupe::txtNom_Change() {
    btnOK->setEnabled(!NomGroupeNettoye(txtNom->text()).isEmpty());
}

void frmCreationGroupe::btnOK_Click() {
    std::optional<QString> refus;
    if (const std::optional<QString> cle = RefusNomGroupe(NomGroupeNettoye(txtNom->text()))) {
        refus = Traduction(*cle);
    } else if (m_controle) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        refus = m_controle(txtNom->text());
        QApplication::restoreOverrideCursor();
    }
    if (refus) {
        m_interaction.Message(*refus, IconeMessage::Exclamation);
        txtNom->setFocus();
        return;
    }
    accept();
}

ChoixCreationGroupe frmCreationGroupe::Choix() const {
    return {txtNom->text(), m_types->checkedId(), m_etendues->checkedId()};
}

std::optional<ChoixCreationGroupe> AfficheCreationGroupe(QWidget* parent, Interaction& interaction, int type,
                                                         int etendue, const ControleNomGroupe& controle) {
    frmCreationGroupe dialogue(type, etendue, interaction, controle, parent);
    if (dialogue.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialogue.Choix();
}

} // namespace arbrix
