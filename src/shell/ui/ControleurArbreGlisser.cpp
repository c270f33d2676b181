// The mouse on the tree, and drag and drop: a group or an account dropped on a group becomes
// its member, moved (taken out of the group it was dragged from) or, with Ctrl, copied.

#include "groupops/OperationsGroupes.h"
#include "shell/ui/ControleurArbre.h"
#include "tree/Arbre.h"
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
    drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
    m_glisserEnCours = false;
    tmrExpand->stop();
}

void ControleurArbre::tvwGroupes_DragOver(QDragMoveEvent* event) {
    // Hovering over a collapsed group arms the expand timer; the drop itself comes later.
    Noeud* cible = m_modele->noeud(tvwGroupes->indexAt(event->position().toPoint()));
    if (cible != m_noeudSurvole) {
        m_noeudSurvole = cible;
        tmrExpand->stop();
        if (cible && cible->LettreType() == u'G' && !cible->Expanded() && cible->ChildCount() > 0)
            tmrExpand->start();
    }
}

void ControleurArbre::tmrExpand_Timer() {
    tmrExpand->stop();
    if (m_noeudSurvole && m_arbre.NoeudExiste(m_noeudSurvole->Key()))
        m_arbre.Deplie(m_noeudSurvole, true);
}

std::pair<Noeud*, Noeud*> ControleurArbre::depotPossible(const QDropEvent* event) const {
    const QMimeData* donnees = event->mimeData();
    if (!donnees || donnees->data(u"application/x-arbrix-fenetre"_s) != IdentiteFenetre(m_liens.fenetre))
        return {};
    Noeud* membre = m_arbre.Node(QString::fromUtf8(donnees->data(u"application/x-arbrix-noeud"_s)));
    if (!membre)
        return {};
    Noeud* cible = m_modele->noeud(tvwGroupes->indexAt(event->position().toPoint()));
    if (!cible || cible->LettreType() != u'G' || cible == membre)
        return {membre, nullptr};
    return {membre, cible};
}

void ControleurArbre::tvwGroupes_DragDrop(QDropEvent* event) {
    const auto [membre, cible] = depotPossible(event);
    if (!cible || !m_operations) {
        event->ignore();
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
