#include "tree/ui/ModeleArbre.h"

#include "i18n/Traductions.h"
#include "text/Texte.h"
#include "tree/Arbre.h"
#include "tree/Legende.h"
#include "tree/ui/Icones.h"

#include <QGuiApplication>
#include <QPalette>

#include <utility>

namespace arbrix {

ModeleArbre::ModeleArbre(Arbre& arbre, QObject* parent)
    : QAbstractItemModel(parent)
    , m_arbre(arbre) {
    relieSignaux();
}

void ModeleArbre::relieSignaux() {
    connect(&m_arbre, &Arbre::nodeAboutToBeInserted, this,
            [this](Noeud* parent, int row) { beginInsertRows(indexDe(parent), row, row); });
    connect(&m_arbre, &Arbre::nodeInserted, this, [this](Noeud*, int) { endInsertRows(); });
    connect(&m_arbre, &Arbre::nodeAboutToBeRemoved, this,
            [this](Noeud* parent, int row) { beginRemoveRows(indexDe(parent), row, row); });
    connect(&m_arbre, &Arbre::nodeRemoved, this, [this](Noeud*, int) { endRemoveRows(); });
    connect(&m_arbre, &Arbre::nodeAboutToBeMoved, this, [this](Noeud* parent, int de, int vers) {
        // Qt counts the destination before the move: moving down lands before row vers + 1.
        const QModelIndex p = indexDe(parent);
        beginMoveRows(p, de, de, p, vers > de ? vers + 1 : vers);
    });
    connect(&m_arbre, &Arbre::nodeMoved, this, [this](Noeud*, int, int) { endMoveRows(); });
    connect(&m_arbre, &Arbre::nodeChanged, this, [this](Noeud* noeud) {
        const QModelIndex i = indexDe(noeud);
        emit dataChanged(i, i);
    });
    connect(&m_arbre, &Arbre::aboutToBeReset, this, [this] { beginResetModel(); });
    connect(&m_arbre, &Arbre::reset, this, [this] { endResetModel(); });
    connect(&m_arbre, &Arbre::expandedChanged, this,
            [this](Noeud* noeud, bool deplie) { emit expansionDemandee(indexDe(noeud), deplie); });
    connect(&m_arbre, &Arbre::ensureVisibleRequested, this,
            [this](Noeud* noeud) { emit visibiliteDemandee(indexDe(noeud)); });
    connect(&m_arbre, &Arbre::selectionChanged, this,
            [this](Noeud* noeud) { emit selectionDemandee(indexDe(noeud)); });
}

Noeud* ModeleArbre::noeud(const QModelIndex& index) const {
    return index.isValid() ? static_cast<Noeud*>(index.internalPointer()) : nullptr;
}

QModelIndex ModeleArbre::indexDe(const Noeud* noeud) const {
    if (!noeud || m_arbre.notificationsSuspended())
        return {};
    return createIndex(noeud->Row(), 0, const_cast<Noeud*>(noeud));
}

QModelIndex ModeleArbre::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0 || row >= rowCount(parent))
        return {};
    return createIndex(row, 0, m_arbre.Child(noeud(parent), row));
}

QModelIndex ModeleArbre::parent(const QModelIndex& index) const {
    const Noeud* n = noeud(index);
    return n ? indexDe(n->Parent()) : QModelIndex();
}

int ModeleArbre::rowCount(const QModelIndex& parent) const {
    if (m_arbre.notificationsSuspended() || parent.column() > 0)
        return 0;
    return m_arbre.ChildCount(noeud(parent));
}

int ModeleArbre::columnCount(const QModelIndex&) const {
    return 1;
}

bool ModeleArbre::hasChildren(const QModelIndex& parent) const {
    return rowCount(parent) > 0;
}

void ModeleArbre::MarqueCibleDepot(const Noeud* cible) {
    const QString cle = cible ? cible->Key() : QString();
    if (cle == m_cleCible)
        return;
    const QString ancienne = std::exchange(m_cleCible, cle);
    for (const QString& c : {ancienne, cle})
        if (const Noeud* n = c.isEmpty() ? nullptr : m_arbre.Node(c))
            emit dataChanged(indexDe(n), indexDe(n), {Qt::BackgroundRole});
}

QVariant ModeleArbre::data(const QModelIndex& index, int role) const {
    const Noeud* n = noeud(index);
    if (!n)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return n->Text();
    case Qt::EditRole:
        return NomDuLibelle(n->Text());
    case Qt::DecorationRole:
        return IconeArbre(n->Image());
    case Qt::BackgroundRole:
        if (!m_cleCible.isEmpty() && n->Key() == m_cleCible)
            return QGuiApplication::palette().color(QPalette::Highlight).lighter(160);
        return {};
    case RoleCle:
        return n->Key();
    case RoleTag:
        return n->Tag();
    case RoleImage:
        return n->Image();
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole:
        return InfoBulleNoeud(*n);
    case Qt::AccessibleTextRole: {
        // A screen reader cannot see the icon: the row says in words what it shows.
        const QString nature = TexteImage(n->Image());
        return nature.isEmpty() ? n->Text()
                                : FormateMessage(Traduction(u"TXT_LEGENDE_ETAT"), {n->Text(), nature});
    }
    default:
        return {};
    }
}

Qt::ItemFlags ModeleArbre::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    const Qt::ItemFlags base =
        Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
    const Noeud* n = noeud(index);
    return n && n->LettreType() == u'G' ? base | Qt::ItemIsEditable : base;
}

bool ModeleArbre::setData(const QModelIndex& index, const QVariant& value, int role) {
    const Noeud* n = noeud(index);
    if (!n || role != Qt::EditRole)
        return false;
    emit renommageDemande(n->Key(), value.toString());
    return false;
}

} // namespace arbrix
