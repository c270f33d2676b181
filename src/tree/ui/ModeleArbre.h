#pragma once

// The item model through which the tree view shows the core tree. Rows are the nodes' children,
// one column; the model holds no copy of the tree and forwards its change notifications.

#include <QAbstractItemModel>

namespace arbrix {

class Arbre;
class Noeud;

class ModeleArbre : public QAbstractItemModel {
    Q_OBJECT
public:
    enum Roles {
        RoleCle = Qt::UserRole + 1,
        RoleTag,
        RoleImage,
    };

    explicit ModeleArbre(Arbre& arbre, QObject* parent = nullptr);

    Arbre& arbre() const { return m_arbre; }
    Noeud* noeud(const QModelIndex& index) const;
    QModelIndex indexDe(const Noeud* noeud) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& index) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Group labels are edited as their name alone; the edited text is handed on
    // (renommageDemande), the tree changes only when the rename is done.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // The group a drag would drop on, drawn highlighted apart from the selection; nullptr: none.
    void MarqueCibleDepot(const Noeud* cible);

signals:
    // The core tree asked for a node to be expanded or collapsed, shown, or selected.
    void expansionDemandee(const QModelIndex& index, bool deplie);
    void visibiliteDemandee(const QModelIndex& index);
    void selectionDemandee(const QModelIndex& index);
    // The label of the node of that Key was edited to texte.
    void renommageDemande(const QString& cle, const QString& texte);

private:
    void relieSignaux();
    Arbre& m_arbre;
    QString m_cleCible; // by Key: the node may go while the drag runs
};

} // namespace arbrix
