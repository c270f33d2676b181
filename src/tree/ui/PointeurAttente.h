#pragma once

// The wait pointer over the whole program while the directory works. Waits nest; Retablit ends
// them all, as a step that has finished leaves nothing waiting behind it.

namespace arbrix {

class PointeurAttente {
public:
    PointeurAttente() = default;
    ~PointeurAttente() { Retablit(); }
    PointeurAttente(const PointeurAttente&) = delete;
    PointeurAttente& operator=(const PointeurAttente&) = delete;

    void Attend();
    void Retablit();

    // The step runs with the pointer waiting.
    template <typename Etape> void Pendant(Etape&& etape) {
        Attend();
        etape();
        Retablit();
    }
    // A modal box waits for a person with the normal pointer; the waits begun before come back.
    template <typename Boite> auto NormalPendant(Boite&& boite) {
        const int attentes = m_attentes;
        Retablit();
        auto reponse = boite();
        for (int i = 0; i < attentes; ++i)
            Attend();
        return reponse;
    }

private:
    int m_attentes = 0;
};

} // namespace arbrix
