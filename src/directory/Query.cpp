#include "directory/Query.h"

#include "directory/Dn.h"
#include "directory/Filter.h"

using namespace Qt::StringLiterals;

namespace arbrix {

namespace {

[[noreturn]] void syntaxError(const QString& detail) {
    throw DirectoryError(ErrorNumber::QuerySyntax, u"Invalid query: "_s + detail);
}

// Consecutive wildcards are one: "a**b" would be a substring filter with an empty middle part,
// which servers reject as malformed.
QString escapeKeepingWildcards(QStringView value) {
    const QList<QStringView> pieces = value.split(u'*');
    QStringList escaped;
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        const bool inner = i > 0 && i < pieces.size() - 1;
        if (!inner || !pieces[i].isEmpty())
            escaped += EchappeValeurFiltre(pieces[i]);
    }
    return escaped.join(u'*');
}

QStringList splitAttributes(QStringView list) {
    QStringList attributes;
    for (QStringView piece : list.split(u',')) {
        const QString name = piece.trimmed().toString();
        if (name.isEmpty())
            continue;
        if (name != u"*"_s) {
            for (QChar c : name) {
                if (!c.isLetterOrNumber() && c != u'-' && c != u';' && c != u'=' && c != u'.')
                    syntaxError(u"bad attribute name '"_s + name + u"'"_s);
            }
        }
        attributes += name;
    }
    return attributes;
}

// The base of a query: an "LDAP://" path. Quotes doubled in the server part are undone (host
// names hold none; the session doubles them for the SQL form).
void applyBase(RequeteTraduite& out, QStringView path) {
    const std::optional<CheminLdap> chemin = AnalyseCheminLdap(path.trimmed());
    if (!chemin || chemin->rootDse)
        syntaxError(u"bad search base '"_s + path.toString() + u"'"_s);
    out.serveur = chemin->serveur;
    out.serveur.replace(u"''"_s, u"'"_s);
    out.baseServeur = chemin->dn.isEmpty();
    out.requete.base = chemin->dn;
    if (!out.baseServeur && !Dn::parse(chemin->dn))
        syntaxError(u"bad search base '"_s + path.toString() + u"'"_s);
}

// ---- SQL dialect ----

// A name, OID or name with options ("userCertificate;binary") as a filter item accepts; the
// lexer's words may also hold "*", which a filter would read as a wildcard.
bool isAttributeName(QStringView name) {
    if (name.isEmpty())
        return false;
    for (QChar c : name) {
        const bool ascii = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
        if (!ascii && c != u'-' && c != u';' && c != u'.' && c != u'_')
            return false;
    }
    return true;
}

struct Token {
    enum class Type { Word, String, Number, Operator, LeftParen, RightParen, Comma, End };
    Type type = Type::End;
    QString text;
};

class SqlLexer {
public:
    explicit SqlLexer(QStringView text)
        : m_text(text) {
        advance();
    }

    const Token& current() const { return m_current; }
    Token take() {
        Token t = m_current;
        advance();
        return t;
    }
    bool isWord(QStringView word) const {
        return m_current.type == Token::Type::Word && m_current.text.compare(word, Qt::CaseInsensitive) == 0;
    }
    void expectWord(QStringView word) {
        if (!isWord(word))
            syntaxError(u"expected "_s + word.toString());
        advance();
    }

private:
    void advance() {
        while (m_pos < m_text.size() && m_text[m_pos].isSpace())
            ++m_pos;
        m_current = Token{};
        if (m_pos >= m_text.size())
            return;
        const QChar c = m_text[m_pos];
        if (c == u'\'') {
            m_current.type = Token::Type::String;
            m_current.text = readString();
        } else if (c == u'(' || c == u')' || c == u',') {
            m_current.type = c == u'('   ? Token::Type::LeftParen
                             : c == u')' ? Token::Type::RightParen
                                         : Token::Type::Comma;
            m_current.text = c;
            ++m_pos;
        } else if (c == u'=' || c == u'<' || c == u'>' || c == u'!') {
            m_current.type = Token::Type::Operator;
            m_current.text = readOperator();
        } else if (c.isDigit() || (c == u'-' && m_pos + 1 < m_text.size() && m_text[m_pos + 1].isDigit())) {
            m_current.type = Token::Type::Number;
            const qsizetype start = m_pos++;
            while (m_pos < m_text.size() && m_text[m_pos].isDigit())
                ++m_pos;
            m_current.text = m_text.mid(start, m_pos - start).toString();
        } else if (c.isLetter() || c == u'*' || c == u'_') {
            m_current.type = Token::Type::Word;
            const qsizetype start = m_pos;
            while (m_pos < m_text.size() &&
                   (m_text[m_pos].isLetterOrNumber() || m_text[m_pos] == u'-' || m_text[m_pos] == u'_' ||
                    m_text[m_pos] == u'*' || m_text[m_pos] == u';' || m_text[m_pos] == u'.'))
                ++m_pos;
            m_current.text = m_text.mid(start, m_pos - start).toString();
        } else {
            syntaxError(u"unexpected character '"_s + c + u"'"_s);
        }
    }

    QString readString() {
        QString value;
        ++m_pos;
        while (m_pos < m_text.size()) {
            const QChar c = m_text[m_pos++];
            if (c != u'\'') {
                value += c;
            } else if (m_pos < m_text.size() && m_text[m_pos] == u'\'') {
                value += c; // a doubled quote
                ++m_pos;
            } else {
                return value;
            }
        }
        syntaxError(u"unterminated quoted text"_s);
    }

    QString readOperator() {
        static const QStringView operators[] = {u"<>", u"!=", u"<=", u">=", u"=", u"<", u">"};
        for (QStringView op : operators) {
            if (m_text.mid(m_pos).startsWith(op)) {
                m_pos += op.size();
                return op.toString();
            }
        }
        syntaxError(u"bad operator"_s);
    }

    QStringView m_text;
    qsizetype m_pos = 0;
    Token m_current;
};

class SqlTranslator {
public:
    explicit SqlTranslator(QStringView text)
        : m_lexer(text) {}

    RequeteTraduite translate() {
        RequeteTraduite out;
        m_lexer.expectWord(u"SELECT");
        out.requete.attributes = selectList();
        m_lexer.expectWord(u"FROM");
        if (m_lexer.current().type != Token::Type::String)
            syntaxError(u"FROM needs a quoted 'LDAP://' path"_s);
        applyBase(out, m_lexer.take().text);
        out.requete.filter = u"(objectClass=*)"_s;
        if (m_lexer.isWord(u"WHERE")) {
            m_lexer.take();
            out.requete.filter = orExpression();
        }
        if (m_lexer.isWord(u"ORDER")) {
            // Sorting is not something the callers rely on: the clause is accepted and ignored.
            while (m_lexer.current().type != Token::Type::End)
                m_lexer.take();
        }
        if (m_lexer.current().type != Token::Type::End)
            syntaxError(u"unexpected '"_s + m_lexer.current().text + u"'"_s);
        return out;
    }

private:
    QStringList selectList() {
        QStringList attributes;
        while (true) {
            if (m_lexer.current().type != Token::Type::Word)
                syntaxError(u"expected an attribute name"_s);
            attributes += m_lexer.take().text;
            if (m_lexer.current().type != Token::Type::Comma)
                break;
            m_lexer.take();
        }
        if (attributes == QStringList{u"*"_s})
            return {};
        return attributes;
    }

    QString orExpression() { return chain(u"OR", u'|', &SqlTranslator::andExpression); }
    QString andExpression() { return chain(u"AND", u'&', &SqlTranslator::notExpression); }

    // Terms joined by an operator word: one term stands alone, several become (|...) or (&...).
    QString chain(QStringView word, QChar filterOperator, QString (SqlTranslator::*term)()) {
        QStringList terms{(this->*term)()};
        while (m_lexer.isWord(word)) {
            m_lexer.take();
            terms += (this->*term)();
        }
        return terms.size() == 1 ? terms.first() : u"("_s + filterOperator + terms.join(QString()) + u')';
    }

    QString notExpression() {
        if (m_lexer.isWord(u"NOT")) {
            m_lexer.take();
            return u"(!"_s + notExpression() + u")"_s;
        }
        if (m_lexer.current().type == Token::Type::LeftParen) {
            m_lexer.take();
            QString inner = orExpression();
            if (m_lexer.current().type != Token::Type::RightParen)
                syntaxError(u"missing ')'"_s);
            m_lexer.take();
            return inner;
        }
        return comparison();
    }

    QString comparison() {
        if (m_lexer.current().type != Token::Type::Word)
            syntaxError(u"expected an attribute name"_s);
        const QString attribute = m_lexer.take().text;
        if (!isAttributeName(attribute))
            syntaxError(u"bad attribute name '"_s + attribute + u"'"_s);
        if (m_lexer.current().type != Token::Type::Operator)
            syntaxError(u"expected an operator after "_s + attribute);
        const QString op = m_lexer.take().text;
        const Token value = m_lexer.take();
        if (value.type != Token::Type::String && value.type != Token::Type::Number)
            syntaxError(u"expected a value after "_s + attribute + op);
        return comparisonFilter(attribute, op, value.text);
    }

    static QString comparisonFilter(const QString& attribute, const QString& op, const QString& value) {
        const QString exact = EchappeValeurFiltre(value);
        if (op == u"="_s || op == u"<>"_s || op == u"!="_s) {
            QString item;
            if (EstAttributDn(attribute))
                item = u"("_s + attribute + u"="_s + exact + u")"_s;
            else if (value == u"*"_s)
                item = u"("_s + attribute + u"=*)"_s;
            else
                item = u"("_s + attribute + u"="_s + escapeKeepingWildcards(value) + u")"_s;
            return op == u"="_s ? item : u"(!"_s + item + u")"_s;
        }
        const QString ge = u"("_s + attribute + u">="_s + exact + u")"_s;
        const QString le = u"("_s + attribute + u"<="_s + exact + u")"_s;
        const QString eq = u"("_s + attribute + u"="_s + exact + u")"_s;
        if (op == u">="_s)
            return ge;
        if (op == u"<="_s)
            return le;
        if (op == u">"_s)
            return u"(&"_s + ge + u"(!"_s + eq + u"))"_s;
        return u"(&"_s + le + u"(!"_s + eq + u"))"_s;
    }

    SqlLexer m_lexer;
};

// ---- LDAP dialect ----

qsizetype endOfBase(QStringView text) {
    for (qsizetype i = 1; i < text.size(); ++i) {
        if (text[i] == u'\\')
            ++i;
        else if (text[i] == u'>')
            return i;
    }
    return -1;
}

// The end of a parenthesised filter starting at start (its closing parenthesis + 1).
qsizetype endOfFilter(QStringView text, qsizetype start) {
    int depth = 0;
    for (qsizetype i = start; i < text.size(); ++i) {
        if (text[i] == u'(') {
            ++depth;
        } else if (text[i] == u')') {
            if (--depth == 0)
                return i + 1;
        }
    }
    return -1;
}

RequeteTraduite translateLdap(QStringView text, SearchScope defaultScope) {
    RequeteTraduite out;
    const qsizetype baseEnd = endOfBase(text);
    if (baseEnd < 0)
        syntaxError(u"missing '>' after the base"_s);
    applyBase(out, text.mid(1, baseEnd - 1));
    QStringView rest = text.mid(baseEnd + 1).trimmed();
    if (!rest.startsWith(u';'))
        syntaxError(u"missing ';' after the base"_s);
    rest = rest.mid(1).trimmed();
    qsizetype filterEnd = rest.startsWith(u'(') ? endOfFilter(rest, 0) : rest.indexOf(u';');
    if (filterEnd < 0)
        filterEnd = rest.size();
    QString filter = rest.left(filterEnd).trimmed().toString();
    if (!filter.isEmpty() && !filter.startsWith(u'('))
        filter = u"("_s + filter + u")"_s;
    if (filter.isEmpty())
        filter = u"(objectClass=*)"_s;
    if (!FiltreBienForme(filter))
        syntaxError(u"bad filter '"_s + filter + u"'"_s);
    out.requete.filter = filter;
    out.requete.scope = defaultScope;
    rest = rest.mid(filterEnd).trimmed();
    if (rest.isEmpty())
        return out;
    if (!rest.startsWith(u';'))
        syntaxError(u"unexpected text after the filter"_s);
    rest = rest.mid(1);
    const qsizetype scopeStart = rest.indexOf(u';');
    out.requete.attributes = splitAttributes(scopeStart < 0 ? rest : rest.left(scopeStart));
    if (out.requete.attributes == QStringList{u"*"_s})
        out.requete.attributes.clear();
    if (scopeStart >= 0) {
        const QStringView scope = rest.mid(scopeStart + 1).trimmed();
        if (scope.compare(u"subtree", Qt::CaseInsensitive) == 0)
            out.requete.scope = SearchScope::Subtree;
        else if (scope.compare(u"onelevel", Qt::CaseInsensitive) == 0)
            out.requete.scope = SearchScope::OneLevel;
        else if (scope.compare(u"base", Qt::CaseInsensitive) == 0)
            out.requete.scope = SearchScope::Base;
        else
            syntaxError(u"bad scope '"_s + scope.toString() + u"'"_s);
    }
    return out;
}

} // namespace

RequeteTraduite TraduitRequete(QStringView texte, SearchScope portee, int taillePage) {
    const QStringView text = texte.trimmed();
    RequeteTraduite out;
    if (text.startsWith(u'<')) {
        // A scope written as a fourth part wins over the command's.
        out = translateLdap(text, portee);
    } else {
        out = SqlTranslator(text).translate();
        out.requete.scope = portee;
    }
    out.requete.pageSize = taillePage;
    return out;
}

QString EchappeValeurFiltre(QStringView valeur) {
    return EscapeFilterBytes(valeur.toUtf8());
}

QString FiltreEgalite(QStringView attribut, QStringView valeur) {
    return u'(' + attribut.toString() + u'=' + EchappeValeurFiltre(valeur) + u')';
}

QString EchappeValeurFiltreGenerique(QStringView valeur) {
    return escapeKeepingWildcards(valeur);
}

bool EstAttributDn(QStringView attribut) {
    static const QStringView dnAttributes[] = {u"distinguishedName",
                                               u"dn",
                                               u"member",
                                               u"memberOf",
                                               u"managedBy",
                                               u"manager",
                                               u"directReports",
                                               u"objectCategory",
                                               u"managedObjects",
                                               u"msDS-MembersForAzRole",
                                               u"defaultObjectCategory",
                                               u"msDS-HostServiceAccount",
                                               u"msDS-HostServiceAccountBL",
                                               u"secretary",
                                               u"seeAlso"};
    for (QStringView a : dnAttributes) {
        if (attribut.compare(a, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool FiltreBienForme(QStringView filtre) {
    return ParseFilter(filtre).has_value();
}

} // namespace arbrix
