// The mouse on the tree, and drag and drop: a group or an account dropped on a group becomes
// its member, moved (taken out of the group it was dragged from) or, with Ctrl, copied.

#include "groupops/OperationsGroupes.h"
#include "i18n/Traductions.h"
#include "shell/ui/ControleurArbre.h"
#include "tree/Arbre.h"
#include "tree/Interaction.h"
#include "tree/ui/Icones.h"
#include "tree/ui/ModeleArbre.h"
#include "tree/ui/PointeurAttente.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QTreeView>

namespace arbrix {

using namespace Qt::StringLiterals;

namespace {
// A drag starts when the button has been held this long.
constexpr qint64 delaiGlisser = 100;
} // namespace

QByteArray IdentiteFenetre(const QWidget* fenetre) {
    return QByteArray::number(QCoreApplication::applicationPid()) + ':' +
           QByteArray::number(quintptr(fenetre), 16);
}

void ControleurArbre::tvwGroupes_MouseDown(QMouseEvent* event) {
    m_apresGlisser = false;
    Noeud* noeud = m_modele->noeud(tvwGroupes->indexAt(event->position().toPoint()));
    if (!noeud || noeud->LettreType() == u'O')
        m_noeudGlisse = nullptr; // O.U.s are never dragged
    if (!noeud)
        return;
    m_glisserEnCours = false;
    m_arbre.Selectionne(noeud);
    if (noeud->LettreType() != u'O')
        m_noeudGlisse = noeud;
    tvwGroupes_NodeClick(noeud, event->button() == Qt::RightButton);
    m_instantAppui = QDateTime::currentMSecsSinceEpoch();
}

void ControleurArbre::tvwGroupes_MouseMove(QMouseEvent* event) {
    if (event->buttons() != Qt::LeftButton || m_glisserEnCours || !m_noeudGlisse)
        return;
    if (QDateTime::currentMSecsSinceEpoch() - m_instantAppui <= delaiGlisser)
        return;
    commenceGlisser();
}

void ControleurArbre::commenceGlisser() {
    m_glisserEnCours = true;
    auto* drag = new QDrag(tvwGroupes);
    auto* donnees = new QMimeData;
    donnees->setData(u"application/x-arbrix-noeud"_s, m_noeudGlisse->Key().toUtf8());
    donnees->setData(u"application/x-arbrix-fenetre"_s, IdentiteFenetre(m_liens.fenetre));
    donnees->setText(m_noeudGlisse->Tag().mid(1));
    drag->setMimeData(donnees);
    // Move shows the node's own image, copy (Ctrl held) its "_cop" variant.
    const QString image = m_noeudGlisse->Image();
    const QString base = image.section(u'_', 0, image.startsWith(u"grp_") ? 1 : 0);
    drag->setPixmap(IconeArbre(image).pixmap(16, 16));
    drag->setDragCursor(IconeArbre(base + u"_cop"_s).pixmap(16, 16), Qt::CopyAction);
    const QString selection = m_noeudGlisse->Key();
    const Qt::DropAction fait = drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
    m_glisserEnCours = false;
    m_apresGlisser = true;
    tmrExpand->stop();
    m_modele->MarqueCibleDepot(nullptr);
    // Refused or cancelled, the drag leaves the selection where it was.
    if (fait == Qt::IgnoreAction)
        if (Noeud* noeud = m_arbre.Node(selection))
            m_arbre.Selectionne(noeud);
}

void ControleurArbre::tvwGroupes_DragOver(QDragMoveEvent* event) {
    const Depot depot = depotPossible(event);
    // Hovering over a collapsed group arms the expand timer; the drop itself comes later.
    if (event->type() == QEvent::DragMove && depot.sous != m_noeudSurvole) {
        m_noeudSurvole = depot.sous;
        tmrExpand->stop();
        if (depot.cible && !depot.cible->Expanded() && depot.cible->ChildCount() > 0)
            tmrExpand->start();
    }
    m_modele->MarqueCibleDepot(depot.cible);
    // Any other node of ours takes the drop, so that one on an O.U. or an account is told why it
    // is refused; only a group is highlighted. Ctrl copies, and the cursor shows it.
    // Entering, any node of ours is welcome: a refused entry would stop the moves that follow.
    const bool accepte =
        depot.membre && (event->type() == QEvent::DragEnter || (depot.sous && depot.sous != depot.membre));
    if (!accepte) {
        event->ignore();
        return;
    }
    event->setDropAction(event->modifiers().testFlag(Qt::ControlModifier) ? Qt::CopyAction : Qt::MoveAction);
    event->accept();
}

void ControleurArbre::tmrExpand_Timer() {
    tmrExpand->stop();
    if (m_noeudSurvole && m_arbre.NoeudExiste(m_noeudSurvole->Key()))
        m_arbre.Deplie(m_noeudSurvole, true);
}

ControleurArbre::Depot ControleurArbre::depotPossible(const QDropEvent* event) const {
    const QMimeData* donnees = event->mimeData();
    if (!donnees || donnees->data(u"application/x-arbrix-fenetre"_s) != IdentiteFenetre(m_liens.fenetre))
        return {};
    Depot depot;
    depot.membre = m_arbre.Node(QString::fromUtf8(donnees->data(u"application/x-arbrix-noeud"_s)));
    if (!depot.membre)
        return {};
    depot.sous = m_modele->noeud(tvwGroupes->indexAt(event->position().toPoint()));
    if (depot.sous && depot.sous->LettreType() == u'G' && depot.sous != depot.membre)
        depot.cible = depot.sous;
    return depot;
}

void ControleurArbre::tvwGroupes_DragDrop(QDropEvent* event) {
    const Depot depot = depotPossible(event);
    Noeud* membre = depot.membre;
    Noeud* cible = depot.cible;
    if (!cible || !m_operations) {
        event->ignore();
        if (depot.sous && depot.sous != membre)
            QTimer::singleShot(0, this, [this] {
                m_liens.interaction.Message(Traduction(u"MSG_ERREUR_DEPOT_HORS_GROUPE"),
                                            IconeMessage::Exclamation);
            });
        return;
    }
    // Ctrl copies, as the drag cursor shows; the action a platform proposes may differ.
    const bool copie = event->modifiers().testFlag(Qt::ControlModifier);
    event->setDropAction(copie ? Qt::CopyAction : Qt::MoveAction);
    event->accept();
    // Once the drag has ended: the operation may show messages.
    QTimer::singleShot(0, this, [this, cleMembre = membre->Key(), cleCible = cible->Key(), copie] {
        Noeud* m = m_arbre.Node(cleMembre);
        Noeud* c = m_arbre.Node(cleCible);
        if (m && c && m_operations)
            m_liens.pointeur.Pendant([&] { m_operations->DeposeMembre(m, c, copie); });
    });
}

} // namespace arbrix
