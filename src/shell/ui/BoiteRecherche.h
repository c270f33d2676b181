#pragma once

// The search box: an editable combo box that tells when its drop-down opens and closes.

#include <QComboBox>

#include <functional>

namespace arbrix {

class BoiteRecherche : public QComboBox {
public:
    using QComboBox::QComboBox;

    bool listeOuverte() const { return m_ouverte; }
    std::function<void()> avantOuverture; // runs before the drop-down opens

    void showPopup() override {
        if (avantOuverture)
            avantOuverture();
        m_ouverte = true;
        QComboBox::showPopup();
    }
    void hidePopup() override {
        QComboBox::hidePopup();
        m_ouverte = false;
    }

private:
    bool m_ouverte = false;
};

} // namespace arbrix
