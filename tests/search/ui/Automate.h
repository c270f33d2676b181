#pragma once

// Answers the modal windows that open while a test runs (message boxes, list windows run with
// exec()), from inside their event loop.

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>

#include <functional>

class Automate {
public:
    // reponse gets each modal window once; a message box it does not close is closed with OK.
    explicit Automate(std::function<void(QWidget*)> reponse = {})
        : m_reponse(std::move(reponse)) {
        m_minuterie.setInterval(10);
        QObject::connect(&m_minuterie, &QTimer::timeout, [this] { examine(); });
        m_minuterie.start();
    }

    QStringList messages;

private:
    void examine() {
        QWidget* modale = QApplication::activeModalWidget();
        if (!modale || modale == m_derniere)
            return;
        m_derniere = modale;
        if (auto* boite = qobject_cast<QMessageBox*>(modale)) {
            messages.append(boite->text());
            boite->accept();
            m_derniere = nullptr;
            return;
        }
        if (m_reponse)
            m_reponse(modale);
        m_derniere = nullptr;
    }

    std::function<void(QWidget*)> m_reponse;
    QWidget* m_derniere = nullptr;
    QTimer m_minuterie;
};
