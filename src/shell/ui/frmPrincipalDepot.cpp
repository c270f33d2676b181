// The drop on the tree: a group or an account dropped on a group becomes its member, moved
// (taken out of the group it was dragged from) or, with Ctrl, copied.

#include "groupops/OperationsGroupes.h"
#include "shell/ui/frmPrincipal.h"
#include "tree/ui/ModeleArbre.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QTreeView>

namespace arbrix {

using namespace Qt::StringLiterals;

QByteArray IdentiteFenetre(const QWidget* fenetre) {
    return QByteArray::number(QCoreApplication::applicationPid()) + ':' +
           QByteArray::number(quintptr(fenetre), 16);
}

std::pair<Noeud*, Noeud*> frmPrincipal::depotPossible(const QDropEvent* event) const {
    const QMimeData* donnees = event->mimeData();
    if (!donnees || donnees->data(u"application/x-arbrix-fenetre"_s) != IdentiteFenetre(this))
        return {};
    Noeud* membre = m_arbre.Node(QString::fromUtf8(donnees->data(u"application/x-arbrix-noeud"_s)));
    if (!membre)
        return {};
    Noeud* cible = m_modele->noeud(tvwGroupes->indexAt(event->position().toPoint()));
    if (!cible || cible->LettreType() != u'G' || cible == membre)
        return {membre, nullptr};
    return {membre, cible};
}

void frmPrincipal::tvwGroupes_DragDrop(QDropEvent* event) {
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
            enAttente([&] { m_operations->DeposeMembre(m, c, copie); });
    });
}

} // namespace arbrix
