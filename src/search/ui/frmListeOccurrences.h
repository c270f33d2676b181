#pragma once

// The list of found objects (name, description, type text, DN): the choice among the objects a
// lookup found. A click on a column's header sorts by it. The popup menu of the list copies the
// selected name or the whole list.

#include "tree/Occurrence.h"

#include <QDialog>

#include <optional>

class QPushButton;
class QTreeWidget;

namespace arbrix {

class frmListeOccurrences : public QDialog {
    Q_OBJECT
public:
    explicit frmListeOccurrences(const ListeOccurrences& occurrences, QWidget* parent = nullptr);

    // Shows the list modally; the index (in occurrences) of the chosen row, nullopt when closed
    // without a choice.
    static std::optional<int> Choisit(QWidget* parent, const ListeOccurrences& occurrences);

    std::optional<int> Choisi() const { return m_choisi; }

    // Clipboard texts: the selected row's name; every row, columns separated by TAB, a title
    // line first.
    QString TexteNomSelectionne() const;
    QString TexteListe() const;

    void btnOK_Click();
    void CopieNom();
    void CopieListe();

private:
    void afficheMenu(const QPoint& position);
    void metAJourBoutons();
    std::optional<int> indexSelectionne() const;

    std::optional<int> m_choisi;
    QTreeWidget* lvwOccurrences = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnAnnuler = nullptr;
};

} // namespace arbrix
