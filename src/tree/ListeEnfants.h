#pragma once

// The children of one tree node in display order. They are kept in blocks of a few hundred
// pointers, so that inserting into or removing from a list of hundreds of thousands of
// siblings moves one block, and a node finds its own row by scanning its block only.

#include <memory>
#include <vector>

namespace arbrix {

class Noeud;

class ListeEnfants {
public:
    struct Bloc {
        std::vector<Noeud*> noeuds;
        std::size_t index = 0; // position of the block in the list
    };

    ListeEnfants() = default;
    ListeEnfants(const ListeEnfants&) = delete;
    ListeEnfants& operator=(const ListeEnfants&) = delete;

    int size() const { return m_taille; }
    bool empty() const { return m_taille == 0; }

    Noeud* at(int row) const;
    Noeud* first() const;
    Noeud* last() const;
    // The row of a node of this list.
    int rowOf(const Noeud* noeud) const;
    // The sibling after (before) a node of this list, or nullptr.
    Noeud* after(const Noeud* noeud) const;
    Noeud* before(const Noeud* noeud) const;

    void insert(int row, Noeud* noeud);
    void removeAt(int row);
    // Empties the list and hands its nodes back in order.
    std::vector<Noeud*> takeAll();
    // Replaces the content by these nodes, in this order.
    void assign(const std::vector<Noeud*>& noeuds);

    // The first row whose node compares greater than the sought value: greater(node) tells.
    // The list must be ordered so that greater() is false then true along it.
    template <class Greater> int upperBound(Greater&& greater) const;

    template <class F> void forEach(F&& f) const {
        for (const auto& bloc : m_blocs)
            for (Noeud* n : bloc->noeuds)
                f(n);
    }

private:
    static constexpr std::size_t TailleMaxBloc = 512;

    std::size_t blocOfRow(int row) const;
    std::size_t offsetInBloc(const Noeud* noeud) const;
    void renumberBlocsFrom(std::size_t index);
    void shiftDebutsFrom(std::size_t index, int delta);
    void attach(Bloc& bloc);

    std::vector<std::unique_ptr<Bloc>> m_blocs;
    std::vector<int> m_debuts; // row of the first node of each block
    int m_taille = 0;
};

template <class Greater> int ListeEnfants::upperBound(Greater&& greater) const {
    // First block whose last node is greater, then the first greater node inside it.
    std::size_t lo = 0, hi = m_blocs.size();
    while (lo < hi) {
        const std::size_t mid = (lo + hi) / 2;
        if (greater(m_blocs[mid]->noeuds.back()))
            hi = mid;
        else
            lo = mid + 1;
    }
    if (lo == m_blocs.size())
        return m_taille;
    const Bloc& bloc = *m_blocs[lo];
    const int debut = m_debuts[lo];
    std::size_t a = 0, b = bloc.noeuds.size();
    while (a < b) {
        const std::size_t mid = (a + b) / 2;
        if (greater(bloc.noeuds[mid]))
            b = mid;
        else
            a = mid + 1;
    }
    return debut + int(a);
}

} // namespace arbrix
