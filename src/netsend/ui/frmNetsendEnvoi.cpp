#include "netsend/ui/frmNetsendEnvoi.h"

#include "i18n/Traductions.h"
#include "search/ui/Fenetres.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace arbrix {

using namespace Qt::StringLiterals;

frmNetsendEnvoi::frmNetsendEnvoi(QList<Destinataire> destinataires, ParametresEnvoi parametres,
                                 AnnuaireAdresses& annuaire, Transport& transport, QWidget* parent)
    : QDialog(parent)
    , m_destinataires(std::move(destinataires))
    , m_parametres(std::move(parametres))
    , m_annuaire(annuaire)
    , m_transport(transport) {
    setObjectName(u"frmNetsendEnvoi"_s);
    setWindowTitle(u"Envoi de message"_s);

    lstRapport = new QListWidget(this);
    lstRapport->setObjectName(u"lstRapport"_s);
    lstRapport->setAccessibleName(Traduction(u"ACC_RAPPORT"));
    pgbProgression = new QProgressBar(this);
    pgbProgression->setObjectName(u"pgbProgression"_s);
    pgbProgression->setAccessibleName(Traduction(u"ACC_PROGRESSION"));
    pgbProgression->setTextVisible(false);
    lblProgression = new QLabel(this);
    lblProgression->setObjectName(u"lblProgression"_s);
    lblProgression->setMinimumWidth(60);
    lblProgression->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    btnAnnulerFermer = new QPushButton(this);
    btnAnnulerFermer->setObjectName(u"btnAnnulerFermer"_s);

    auto* bas = new QHBoxLayout;
    bas->addWidget(pgbProgression, 1);
    bas->addWidget(lblProgression);
    bas->addWidget(btnAnnulerFermer);
    auto* disposition = new QVBoxLayout(this);
    disposition->addWidget(lstRapport, 1);
    disposition->addLayout(bas);
    resize(620, 320);

    TraduitFenetre(this);
    btnAnnulerFermer->setText(Traduction(u"TXT_ANNULER"));
    AppliquePremierPlanDuParent(this);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_sablier = true;
    connect(btnAnnulerFermer, &QPushButton::clicked, this, &frmNetsendEnvoi::btnAnnulerFermer_Click);
}

frmNetsendEnvoi::~frmNetsendEnvoi() {
    if (m_sablier)
        QApplication::restoreOverrideCursor();
}

void frmNetsendEnvoi::Envoie(QWidget* parent, const QList<Destinataire>& destinataires,
                             const ParametresEnvoi& parametres, AnnuaireAdresses& annuaire,
                             Transport& transport) {
    frmNetsendEnvoi fenetre(destinataires, parametres, annuaire, transport, parent);
    fenetre.exec();
}

void frmNetsendEnvoi::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Once the window is on screen, so that the first lines can be seen.
    if (!m_commence)
        QTimer::singleShot(0, this, &frmNetsendEnvoi::Form_Activate);
}

void frmNetsendEnvoi::Form_Activate() {
    if (m_commence)
        return;
    m_commence = true;
    m_enCours = true;
    m_bilan = EnvoieMessage(m_destinataires, m_parametres, m_annuaire, m_transport, *this);
    m_enCours = false;
    btnAnnulerFermer->setText(Traduction(u"TXT_FERMER"));
    btnAnnulerFermer->setEnabled(true);
    btnAnnulerFermer->setFocus();
    lstRapport->setCurrentRow(lstRapport->count() - 1);
    if (m_sablier) {
        QApplication::restoreOverrideCursor();
        m_sablier = false;
    }
    AppliquePremierPlanDuParent(this);
}

// Until the loop has stopped, "Fermer" stays greyed: the window must outlive the send in progress.
void frmNetsendEnvoi::demandeAnnulation() {
    if (m_annule)
        return;
    m_annule = true;
    btnAnnulerFermer->setText(Traduction(u"TXT_FERMER"));
    btnAnnulerFermer->setEnabled(false);
}

void frmNetsendEnvoi::btnAnnulerFermer_Click() {
    if (m_enCours || !m_commence)
        demandeAnnulation();
    else
        accept();
}

void frmNetsendEnvoi::reject() {
    if (m_enCours || !m_commence)
        demandeAnnulation();
    else
        QDialog::reject();
}

void frmNetsendEnvoi::closeEvent(QCloseEvent* event) {
    if (m_enCours || !m_commence) {
        demandeAnnulation();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void frmNetsendEnvoi::TraiteEvenements() {
    QCoreApplication::processEvents();
}

void frmNetsendEnvoi::Commence(int total) {
    pgbProgression->setRange(0, std::max(total, 1));
    pgbProgression->setValue(0);
}

void frmNetsendEnvoi::LigneEnCours(const QString& ligne) {
    lstRapport->addItem(ligne);
    lstRapport->setCurrentRow(lstRapport->count() - 1);
}

void frmNetsendEnvoi::LigneTerminee(const QString& ligne, int numero, int total) {
    pgbProgression->setValue(numero);
    lblProgression->setText(u"%1/%2"_s.arg(numero).arg(total));
    lstRapport->item(lstRapport->count() - 1)->setText(ligne);
    lstRapport->setCurrentRow(lstRapport->count() - 1);
}

void frmNetsendEnvoi::Termine(const QString& conclusion) {
    lstRapport->addItem(QString());
    lstRapport->addItem(conclusion);
}

} // namespace arbrix
