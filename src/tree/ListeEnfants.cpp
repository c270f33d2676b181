#include "tree/ListeEnfants.h"

#include "tree/Arbre.h"

#include <algorithm>

namespace arbrix {

Noeud* ListeEnfants::at(int row) const {
    if (row < 0 || row >= m_taille)
        return nullptr;
    const Bloc& bloc = *m_blocs[blocOfRow(row)];
    return bloc.noeuds[std::size_t(row - bloc.début)];
}

Noeud* ListeEnfants::first() const {
    return m_blocs.empty() ? nullptr : m_blocs.front()->noeuds.front();
}

Noeud* ListeEnfants::last() const {
    return m_blocs.empty() ? nullptr : m_blocs.back()->noeuds.back();
}

int ListeEnfants::rowOf(const Noeud* noeud) {
    return noeud->m_bloc ? noeud->m_bloc->début + noeud->m_indexDansBloc : -1;
}

Noeud* ListeEnfants::after(const Noeud* noeud) const {
    const Bloc* bloc = noeud->m_bloc;
    const std::size_t i = std::size_t(noeud->m_indexDansBloc) + 1;
    if (i < bloc->noeuds.size())
        return bloc->noeuds[i];
    const std::size_t b = indexOfBloc(bloc) + 1;
    return b < m_blocs.size() ? m_blocs[b]->noeuds.front() : nullptr;
}

Noeud* ListeEnfants::before(const Noeud* noeud) const {
    const Bloc* bloc = noeud->m_bloc;
    if (noeud->m_indexDansBloc > 0)
        return bloc->noeuds[std::size_t(noeud->m_indexDansBloc) - 1];
    const std::size_t b = indexOfBloc(bloc);
    return b > 0 ? m_blocs[b - 1]->noeuds.back() : nullptr;
}

void ListeEnfants::insert(int row, Noeud* noeud) {
    row = std::clamp(row, 0, m_taille);
    noeud->m_liste = this;
    if (m_blocs.empty()) {
        m_blocs.push_back(std::make_unique<Bloc>());
        m_blocs.back()->noeuds.push_back(noeud);
        renumberNodes(*m_blocs.back(), 0);
        m_taille = 1;
        return;
    }
    // A row just past the end of a block goes to that block (appending stays cheap).
    std::size_t b = row == m_taille ? m_blocs.size() - 1 : blocOfRow(row);
    Bloc* bloc = m_blocs[b].get();
    const std::size_t offset = std::size_t(row - bloc->début);
    bloc->noeuds.insert(bloc->noeuds.begin() + std::ptrdiff_t(offset), noeud);
    ++m_taille;
    if (bloc->noeuds.size() > TailleMaxBloc) {
        auto moitié = std::make_unique<Bloc>();
        const auto milieu = bloc->noeuds.begin() + std::ptrdiff_t(bloc->noeuds.size() / 2);
        moitié->noeuds.assign(milieu, bloc->noeuds.end());
        bloc->noeuds.erase(milieu, bloc->noeuds.end());
        m_blocs.insert(m_blocs.begin() + std::ptrdiff_t(b) + 1, std::move(moitié));
        renumberNodes(*m_blocs[b + 1], 0);
    }
    renumberNodes(*bloc, offset);
    renumberBlocsFrom(b + 1);
}

void ListeEnfants::removeAt(int row) {
    if (row < 0 || row >= m_taille)
        return;
    const std::size_t b = blocOfRow(row);
    Bloc& bloc = *m_blocs[b];
    const std::size_t offset = std::size_t(row - bloc.début);
    Noeud* noeud = bloc.noeuds[offset];
    noeud->m_bloc = nullptr;
    noeud->m_liste = nullptr;
    bloc.noeuds.erase(bloc.noeuds.begin() + std::ptrdiff_t(offset));
    --m_taille;
    if (bloc.noeuds.empty()) {
        m_blocs.erase(m_blocs.begin() + std::ptrdiff_t(b));
        renumberBlocsFrom(b);
    } else {
        renumberNodes(bloc, offset);
        renumberBlocsFrom(b + 1);
    }
}

std::vector<Noeud*> ListeEnfants::takeAll() {
    std::vector<Noeud*> tous;
    tous.reserve(std::size_t(m_taille));
    for (auto& bloc : m_blocs)
        for (Noeud* n : bloc->noeuds) {
            n->m_bloc = nullptr;
            n->m_liste = nullptr;
            tous.push_back(n);
        }
    m_blocs.clear();
    m_taille = 0;
    return tous;
}

void ListeEnfants::assign(const std::vector<Noeud*>& noeuds) {
    takeAll();
    for (std::size_t i = 0; i < noeuds.size(); i += TailleMaxBloc / 2) {
        auto bloc = std::make_unique<Bloc>();
        const std::size_t fin = std::min(noeuds.size(), i + TailleMaxBloc / 2);
        bloc->noeuds.assign(noeuds.begin() + std::ptrdiff_t(i), noeuds.begin() + std::ptrdiff_t(fin));
        for (Noeud* n : bloc->noeuds)
            n->m_liste = this;
        renumberNodes(*bloc, 0);
        m_blocs.push_back(std::move(bloc));
    }
    m_taille = int(noeuds.size());
    renumberBlocsFrom(0);
}

std::size_t ListeEnfants::blocOfRow(int row) const {
    // Last block starting at or before row.
    const auto it = std::upper_bound(m_blocs.begin(), m_blocs.end(), row,
                                     [](int r, const std::unique_ptr<Bloc>& b) { return r < b->début; });
    return std::size_t(it - m_blocs.begin()) - 1;
}

std::size_t ListeEnfants::indexOfBloc(const Bloc* bloc) const {
    return blocOfRow(bloc->début);
}

void ListeEnfants::renumberBlocsFrom(std::size_t index) {
    int début = index == 0 ? 0 : m_blocs[index - 1]->début + int(m_blocs[index - 1]->noeuds.size());
    for (std::size_t i = index; i < m_blocs.size(); ++i) {
        m_blocs[i]->début = début;
        début += int(m_blocs[i]->noeuds.size());
    }
}

void ListeEnfants::renumberNodes(Bloc& bloc, std::size_t from) {
    for (std::size_t i = from; i < bloc.noeuds.size(); ++i) {
        bloc.noeuds[i]->m_bloc = &bloc;
        bloc.noeuds[i]->m_indexDansBloc = int(i);
    }
}

} // namespace arbrix
