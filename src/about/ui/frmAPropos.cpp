#include "about/ui/frmAPropos.h"

#include "search/ui/Fenetres.h"
#include "text/Version.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace arbrix {

using namespace Qt::StringLiterals;

frmAPropos::frmAPropos(QWidget* parent)
    : QDialog(parent) {
    setObjectName(u"frmAPropos"_s);
    setWindowTitle(u"A propos d'Arbrix"_s);

    lblTitre = new QLabel(this);
    lblTitre->setObjectName(u"lblTitre"_s);
    QFont grand = lblTitre->font();
    grand.setPointSizeF(grand.pointSizeF() * 1.6);
    grand.setBold(true);
    lblTitre->setFont(grand);
    lblVersion = new QLabel(this);
    lblVersion->setObjectName(u"lblVersion"_s);
    lblDescriptionOutil = new QLabel(
        u"Arbrix montre, dans un seul arbre, une O.U. ou un groupe de l'Active Directory avec ses "
        "sous-O.U., ses groupes, les groupes imbriqués et leurs comptes membres (utilisateurs, "
        "ordinateurs, comptes de service), avec leur état : désactivé, verrouillé ou expiré.\n\n"
        "Depuis l'arbre, vous créez, renommez, déplacez et supprimez des groupes, ajoutez ou retirez "
        "des membres, listez les groupes dont un groupe est membre, copiez des noms et exportez une "
        "branche en texte, en CSV ou en JSON. Chaque modification est faite avec les droits du compte "
        "configuré."_s,
        this);
    lblDescriptionOutil->setObjectName(u"lblDescriptionOutil"_s);
    lblDescriptionOutil->setWordWrap(true);
    btnOK = new QPushButton(u"&OK"_s, this);
    btnOK->setObjectName(u"btnOK"_s);
    btnOK->setDefault(true);

    auto* boutons = new QHBoxLayout;
    boutons->addStretch();
    boutons->addWidget(btnOK);
    auto* colonne = new QVBoxLayout(this);
    colonne->addWidget(lblTitre);
    colonne->addWidget(lblVersion);
    colonne->addSpacing(8);
    colonne->addWidget(lblDescriptionOutil);
    colonne->addLayout(boutons);
    setMinimumWidth(440);

    TraduitFenetre(this);
    // The title and version are the program's own, never translated.
    lblTitre->setText(NomApplication());
    lblVersion->setText(TitreApplication());
    AppliquePremierPlanDuParent(this);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
}

void frmAPropos::Affiche(QWidget* parent) {
    frmAPropos boite(parent);
    boite.exec();
}

} // namespace arbrix
