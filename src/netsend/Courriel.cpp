#include "netsend/Courriel.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <QUuid>

namespace arbrix {

namespace {

using namespace Qt::StringLiterals;

bool EstBlanc(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n';
}

// Inside double quotes a backslash escapes only these; elsewhere it stays as it is.
bool EchappableEntreGuillemets(QChar c) {
    return c == u'"' || c == u'\\' || c == u'$' || c == u'`' || c == u'\n';
}

QString TrouveProgramme(const QString& programme) {
    if (programme.contains(u'/')) {
        const QFileInfo fichier(programme);
        return fichier.isFile() && fichier.isExecutable() ? programme : QString();
    }
    QString chemin = QStandardPaths::findExecutable(programme);
    if (chemin.isEmpty())
        chemin = QStandardPaths::findExecutable(programme, {u"/usr/sbin"_s});
    return chemin;
}

bool EstAsciiImprimable(const QString& texte) {
    for (QChar c : texte) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7E)
            return false;
    }
    return true;
}

QByteArray MotsEncodes(const QString& texte) {
    // 45 bytes of UTF-8 make 60 characters of base64: each encoded word stays within 75.
    constexpr qsizetype MaximumOctets = 45;
    QList<QByteArray> mots;
    QByteArray courant;
    for (qsizetype i = 0; i < texte.size();) {
        const qsizetype longueur = texte.at(i).isHighSurrogate() && i + 1 < texte.size() ? 2 : 1;
        const QByteArray caractere = texte.mid(i, longueur).toUtf8();
        if (courant.size() + caractere.size() > MaximumOctets) {
            mots << courant;
            courant.clear();
        }
        courant += caractere;
        i += longueur;
    }
    if (!courant.isEmpty())
        mots << courant;
    QByteArray resultat;
    for (const QByteArray& mot : mots) {
        if (!resultat.isEmpty())
            resultat += "\n ";
        resultat += "=?UTF-8?B?" + mot.toBase64() + "?=";
    }
    return resultat;
}

QByteArray EnTeteAdresse(const QString& nom, const QString& adresse) {
    if (nom.isEmpty())
        return adresse.toLatin1();
    QByteArray affiche;
    if (EstAsciiImprimable(nom)) {
        QString echappe = nom;
        echappe.replace(u"\\"_s, u"\\\\"_s).replace(u"\""_s, u"\\\""_s);
        affiche = '"' + echappe.toLatin1() + '"';
    } else {
        affiche = MotsEncodes(nom);
    }
    return affiche + " <" + adresse.toLatin1() + '>';
}

// The body in its canonical form: lines ending with CR LF, in UTF-8, as base64 lines of 76.
QByteArray CorpsEncode(QString corps) {
    corps.replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n').replace(u"\n"_s, u"\r\n"_s);
    const QByteArray base64 = corps.toUtf8().toBase64();
    QByteArray lignes;
    for (qsizetype i = 0; i < base64.size(); i += 76)
        lignes += base64.mid(i, 76) + '\n';
    return lignes;
}

QString DomaineDe(const QString& adresse) {
    return adresse.mid(adresse.lastIndexOf(u'@') + 1);
}

} // namespace

std::optional<QStringList> DecoupeCommande(const QString& commande) {
    QStringList mots;
    QString mot;
    bool dansMot = false;
    enum { Aucun, Simple, Double } guillemet = Aucun;
    for (qsizetype i = 0; i < commande.size(); ++i) {
        const QChar c = commande.at(i);
        if (guillemet == Simple) {
            if (c == u'\'')
                guillemet = Aucun;
            else
                mot += c;
        } else if (guillemet == Double) {
            if (c == u'"')
                guillemet = Aucun;
            else if (c == u'\\' && i + 1 < commande.size() && EchappableEntreGuillemets(commande.at(i + 1)))
                mot += commande.at(++i);
            else
                mot += c;
        } else if (EstBlanc(c)) {
            if (dansMot)
                mots << mot;
            mot.clear();
            dansMot = false;
        } else {
            dansMot = true;
            if (c == u'\'')
                guillemet = Simple;
            else if (c == u'"')
                guillemet = Double;
            else if (c == u'\\' && i + 1 < commande.size())
                mot += commande.at(++i);
            else
                mot += c;
        }
    }
    if (guillemet != Aucun)
        return std::nullopt;
    if (dansMot)
        mots << mot;
    return mots;
}

std::optional<QStringList> CommandeMessagerie(const QString& reglage) {
    const QString texte = reglage.trimmed().isEmpty() ? u"sendmail -i"_s : reglage;
    std::optional<QStringList> mots = DecoupeCommande(texte);
    if (!mots || mots->isEmpty())
        return std::nullopt;
    const QString programme = TrouveProgramme(mots->first());
    if (programme.isEmpty())
        return std::nullopt;
    (*mots)[0] = programme;
    return mots;
}

bool AdresseValide(const QString& adresse) {
    static const QString interdits = u"\"<>()[],;:\\"_s;
    const qsizetype arobase = adresse.lastIndexOf(u'@');
    if (adresse.size() > 254 || arobase <= 0 || arobase == adresse.size() - 1 || adresse.startsWith(u'-'))
        return false;
    for (QChar c : adresse) {
        if (c.unicode() <= 0x20 || c.unicode() >= 0x7F || interdits.contains(c))
            return false;
    }
    return !DomaineDe(adresse).contains(u'@');
}

bool TexteSurPourEnTete(const QString& texte) {
    for (QChar c : texte) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            return false;
    }
    return true;
}

QByteArray EncodeEnTete(const QString& texte) {
    return EstAsciiImprimable(texte) ? texte.toLatin1() : MotsEncodes(texte);
}

MessageCompose ComposeCourriel(const Courriel& c) {
    if (!c.expediteur.isEmpty() && !AdresseValide(c.expediteur))
        return {{}, u"TXT_MOTIF_EXPEDITEUR_INVALIDE"_s};
    if (!AdresseValide(c.destinataire))
        return {{}, u"TXT_MOTIF_ADRESSE_INVALIDE"_s};
    if (!TexteSurPourEnTete(c.nomDestinataire) || !TexteSurPourEnTete(c.sujet))
        return {{}, u"TXT_MOTIF_SAUT_DE_LIGNE"_s};

    const QString domaine = c.expediteur.isEmpty() ? u"arbrix.localdomain"_s : DomaineDe(c.expediteur);
    QByteArray m;
    if (!c.expediteur.isEmpty())
        m += "From: " + c.expediteur.toLatin1() + '\n';
    m += "To: " + EnTeteAdresse(c.nomDestinataire, c.destinataire) + '\n';
    m += "Subject: " + EncodeEnTete(c.sujet) + '\n';
    m += "Date: " + c.date.toString(Qt::RFC2822Date).toLatin1() + '\n';
    m += "Message-ID: <" + QUuid::createUuid().toString(QUuid::WithoutBraces).toLatin1() + '@' +
         domaine.toLatin1() + ">\n";
    m += "MIME-Version: 1.0\n";
    m += "Content-Type: text/plain; charset=UTF-8\n";
    m += "Content-Transfer-Encoding: base64\n\n";
    m += CorpsEncode(c.corps);
    return {m, {}};
}

} // namespace arbrix
