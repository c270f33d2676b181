#include "tree/ListeEnfants.h"

#include "tree/Arbre.h"

#include <algorithm>

namespace arbrix {

Noeud* ListeEnfants::at(int row) const {
    if (row < 0 || row >= m_taille)
        return nullptr;
    const std::size_t b = blocOfRow(row);
    return m_blocs[b]->noeuds[std::size_t(row - m_debuts[b])];
}

Noeud* ListeEnfants::first() const {
    return m_blocs.empty() ? nullptr : m_blocs.front()->noeuds.front();
}

Noeud* ListeEnfants::last() const {
    return m_blocs.empty() ? nullptr : m_blocs.back()->noeuds.back();
}

std::size_t ListeEnfants::offsetInBloc(const Noeud* noeud) const {
    const auto& noeuds = noeud->m_bloc->noeuds;
    return std::size_t(std::find(noeuds.begin(), noeuds.end(), noeud) - noeuds.begin());
}

int ListeEnfants::rowOf(const Noeud* noeud) const {
    if (noeud->m_liste != this || !noeud->m_bloc)
        return -1;
    return m_debuts[noeud->m_bloc->index] + int(offsetInBloc(noeud));
}

Noeud* ListeEnfants::after(const Noeud* noeud) const {
    const Bloc* bloc = noeud->m_bloc;
    const std::size_t i = offsetInBloc(noeud) + 1;
    if (i < bloc->noeuds.size())
        return bloc->noeuds[i];
    const std::size_t b = bloc->index + 1;
    return b < m_blocs.size() ? m_blocs[b]->noeuds.front() : nullptr;
}

Noeud* ListeEnfants::before(const Noeud* noeud) const {
    const Bloc* bloc = noeud->m_bloc;
    const std::size_t i = offsetInBloc(noeud);
    if (i > 0)
        return bloc->noeuds[i - 1];
    return bloc->index > 0 ? m_blocs[bloc->index - 1]->noeuds.back() : nullptr;
}

void ListeEnfants::attach(Bloc& bloc) {
    for (Noeud* n : bloc.noeuds) {
        n->m_bloc = &bloc;
        n->m_liste = this;
    }
}

void ListeEnfants::insert(int row, Noeud* noeud) {
    row = std::clamp(row, 0, m_taille);
    noeud->m_liste = this;
    if (m_blocs.empty()) {
        m_blocs.push_back(std::make_unique<Bloc>());
        m_debuts.push_back(0);
        m_blocs.back()->noeuds.push_back(noeud);
        noeud->m_bloc = m_blocs.back().get();
        m_taille = 1;
        return;
    }
    // A row just past the end goes to the last block (appending stays cheap).
    const std::size_t b = row == m_taille ? m_blocs.size() - 1 : blocOfRow(row);
    Bloc* bloc = m_blocs[b].get();
    const std::size_t offset = std::size_t(row - m_debuts[b]);
    bloc->noeuds.insert(bloc->noeuds.begin() + std::ptrdiff_t(offset), noeud);
    noeud->m_bloc = bloc;
    ++m_taille;
    if (bloc->noeuds.size() > TailleMaxBloc) {
        auto moitie = std::make_unique<Bloc>();
        const auto milieu = bloc->noeuds.begin() + std::ptrdiff_t(bloc->noeuds.size() / 2);
        moitie->noeuds.assign(milieu, bloc->noeuds.end());
        bloc->noeuds.erase(milieu, bloc->noeuds.end());
        attach(*moitie);
        m_blocs.insert(m_blocs.begin() + std::ptrdiff_t(b) + 1, std::move(moitie));
        m_debuts.insert(m_debuts.begin() + std::ptrdiff_t(b) + 1, m_debuts[b] + int(bloc->noeuds.size()));
        for (std::size_t i = b + 1; i < m_blocs.size(); ++i)
            m_blocs[i]->index = i;
        shiftDebutsFrom(b + 2, +1);
    } else {
        shiftDebutsFrom(b + 1, +1);
    }
}

void ListeEnfants::removeAt(int row) {
    if (row < 0 || row >= m_taille)
        return;
    const std::size_t b = blocOfRow(row);
    Bloc& bloc = *m_blocs[b];
    const std::size_t offset = std::size_t(row - m_debuts[b]);
    Noeud* noeud = bloc.noeuds[offset];
    noeud->m_bloc = nullptr;
    noeud->m_liste = nullptr;
    bloc.noeuds.erase(bloc.noeuds.begin() + std::ptrdiff_t(offset));
    --m_taille;
    if (bloc.noeuds.empty()) {
        m_blocs.erase(m_blocs.begin() + std::ptrdiff_t(b));
        m_debuts.erase(m_debuts.begin() + std::ptrdiff_t(b));
        for (std::size_t i = b; i < m_blocs.size(); ++i)
            m_blocs[i]->index = i;
        shiftDebutsFrom(b, -1);
    } else {
        shiftDebutsFrom(b + 1, -1);
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
    m_debuts.clear();
    m_taille = 0;
    return tous;
}

void ListeEnfants::assign(const std::vector<Noeud*>& noeuds) {
    takeAll();
    for (std::size_t i = 0; i < noeuds.size(); i += TailleMaxBloc / 2) {
        auto bloc = std::make_unique<Bloc>();
        const std::size_t fin = std::min(noeuds.size(), i + TailleMaxBloc / 2);
        bloc->noeuds.assign(noeuds.begin() + std::ptrdiff_t(i), noeuds.begin() + std::ptrdiff_t(fin));
        bloc->index = m_blocs.size();
        attach(*bloc);
        m_blocs.push_back(std::move(bloc));
        m_debuts.push_back(0);
    }
    m_taille = int(noeuds.size());
    renumberBlocsFrom(0);
}

std::size_t ListeEnfants::blocOfRow(int row) const {
    // Last block starting at or before row.
    return std::size_t(std::upper_bound(m_debuts.begin(), m_debuts.end(), row) - m_debuts.begin()) - 1;
}

void ListeEnfants::shiftDebutsFrom(std::size_t index, int delta) {
    for (std::size_t i = index; i < m_debuts.size(); ++i)
        m_debuts[i] += delta;
}

void ListeEnfants::renumberBlocsFrom(std::size_t index) {
    int debut = index == 0 ? 0 : m_debuts[index - 1] + int(m_blocs[index - 1]->noeuds.size());
    for (std::size_t i = index; i < m_blocs.size(); ++i) {
        m_debuts[i] = debut;
        debut += int(m_blocs[i]->noeuds.size());
    }
}

} // namespace arbrix
