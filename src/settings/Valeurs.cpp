#include "settings/Valeurs.h"

#include "text/Erreur.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace arbrix {

namespace {

bool EstBlanc(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

// The characters of the text from position i that form a number, blanks inside it skipped,
// as settings numbers have always been read.
struct Lecteur {
    const QString& texte;
    qsizetype i = 0;

    void SauteBlancs() {
        while (i < texte.size() && EstBlanc(texte.at(i)))
            ++i;
    }
    QChar Courant() {
        SauteBlancs();
        return i < texte.size() ? texte.at(i) : QChar();
    }
    bool Prend(QChar c) {
        if (Courant() != c)
            return false;
        ++i;
        return true;
    }
    void PrendChiffres(std::string& sortie) {
        while (Courant().isDigit() && Courant().unicode() < 128)
            sortie += char(texte.at(i++).unicode());
    }
};

int ValeurChiffre(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// "&H" and "&O" numbers: 16-bit when they fit, else 32-bit, two's complement.
double NombreBase(Lecteur& lecteur, int base) {
    quint64 valeur = 0;
    for (int chiffre = ValeurChiffre(lecteur.Courant()); chiffre >= 0 && chiffre < base;
         chiffre = ValeurChiffre(lecteur.Courant())) {
        if (valeur > (quint64(1) << 40))
            return HUGE_VAL;
        valeur = valeur * base + chiffre;
        ++lecteur.i;
    }
    if (valeur <= 0xFFFF)
        return static_cast<double>(static_cast<qint16>(valeur));
    if (valeur <= 0xFFFFFFFFu)
        return static_cast<double>(static_cast<qint32>(valeur));
    return static_cast<double>(valeur);
}

void PrendExposant(Lecteur& lecteur, std::string& nombre) {
    const QChar e = lecteur.Courant().toLower();
    if (e != u'e' && e != u'd')
        return;
    const qsizetype avant = lecteur.i++;
    std::string exposant = "e";
    if (lecteur.Prend(u'-'))
        exposant += '-';
    else
        lecteur.Prend(u'+');
    const std::size_t longueurSansChiffres = exposant.size();
    lecteur.PrendChiffres(exposant);
    if (exposant.size() > longueurSansChiffres)
        nombre += exposant;
    else
        lecteur.i = avant;
}

double NombreDecimal(Lecteur& lecteur) {
    std::string nombre;
    if (lecteur.Prend(u'-'))
        nombre += '-';
    else
        lecteur.Prend(u'+');
    lecteur.PrendChiffres(nombre);
    if (lecteur.Prend(u'.')) {
        nombre += '.';
        lecteur.PrendChiffres(nombre);
    }
    PrendExposant(lecteur, nombre);
    double valeur = 0;
    const auto resultat = std::from_chars(nombre.data(), nombre.data() + nombre.size(), valeur);
    if (resultat.ec == std::errc::result_out_of_range) {
        if (nombre.find("e-") != std::string::npos)
            return 0.0;
        return nombre.front() == '-' ? -HUGE_VAL : HUGE_VAL;
    }
    return resultat.ec == std::errc() ? valeur : 0.0;
}

template <typename Entier> Entier EntierDuTexte(const QString& texte, const QString& cle) {
    const double arrondi = std::nearbyint(NombreEnTete(texte));
    if (!(arrondi >= std::numeric_limits<Entier>::min() && arrondi <= std::numeric_limits<Entier>::max())) {
        QString message = QStringLiteral("Dépassement de capacité");
        if (!cle.isEmpty())
            message += QStringLiteral(" (« %1 » = %2)").arg(cle, texte.left(40));
        throw ErreurExecution(NumeroErreur::Depassement, message);
    }
    return static_cast<Entier>(arrondi);
}

} // namespace

double NombreEnTete(const QString& texte) {
    Lecteur lecteur{texte};
    if (lecteur.Prend(u'&')) {
        const QChar base = lecteur.Courant().toLower();
        if (base == u'h' || base == u'o') {
            ++lecteur.i;
            return NombreBase(lecteur, base == u'h' ? 16 : 8);
        }
        return NombreBase(lecteur, 8);
    }
    return NombreDecimal(lecteur);
}

bool BooleenDuTexte(const QString& texte) {
    return NombreEnTete(texte) != 0.0;
}

qint16 Entier16DuTexte(const QString& texte, const QString& cle) {
    return EntierDuTexte<qint16>(texte, cle);
}

qint32 Entier32DuTexte(const QString& texte, const QString& cle) {
    return EntierDuTexte<qint32>(texte, cle);
}

QString TexteDuBooleen(bool valeur) {
    return valeur ? QStringLiteral("-1") : QStringLiteral("0");
}

} // namespace arbrix
