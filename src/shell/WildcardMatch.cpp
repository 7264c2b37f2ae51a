#include "WildcardMatch.h"

#include <vector>

namespace quillon {

namespace {

struct Token {
    enum class Kind { Literal, AnyRun, AnyOne, Digit, Set };
    Kind kind = Kind::Literal;
    QChar literal;
    QString set;  // pairs of (from, to) characters
    bool negated = false;

    bool matches(QChar c) const
    {
        switch (kind) {
        case Kind::Literal: return c == literal;
        case Kind::AnyOne: return true;
        case Kind::Digit: return c >= QLatin1Char('0') && c <= QLatin1Char('9');
        case Kind::Set: {
            bool inSet = false;
            for (qsizetype i = 0; i + 1 < set.size(); i += 2)
                if (c >= set.at(i) && c <= set.at(i + 1))
                    inSet = true;
            return inSet != negated;
        }
        case Kind::AnyRun: return false;
        }
        return false;
    }
};

std::vector<Token> tokenize(const QString& pattern)
{
    std::vector<Token> tokens;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        Token t;
        if (c == QLatin1Char('*')) {
            if (!tokens.empty() && tokens.back().kind == Token::Kind::AnyRun)
                continue;
            t.kind = Token::Kind::AnyRun;
        } else if (c == QLatin1Char('?')) {
            t.kind = Token::Kind::AnyOne;
        } else if (c == QLatin1Char('#')) {
            t.kind = Token::Kind::Digit;
        } else if (c == QLatin1Char('[') && pattern.indexOf(QLatin1Char(']'), i + 1) > i) {
            const qsizetype close = pattern.indexOf(QLatin1Char(']'), i + 1);
            QString body = pattern.mid(i + 1, close - i - 1);
            i = close;
            if (body.isEmpty())
                continue;  // "[]" stands for no character at all
            t.kind = Token::Kind::Set;
            if (body.startsWith(QLatin1Char('!'))) {
                t.negated = true;
                body.remove(0, 1);
            }
            for (qsizetype j = 0; j < body.size(); ++j) {
                const QChar from = body.at(j);
                if (j + 2 < body.size() && body.at(j + 1) == QLatin1Char('-')) {
                    const QChar to = body.at(j + 2);
                    t.set += from;
                    t.set += to;
                    j += 2;
                } else {
                    t.set += from;
                    t.set += from;
                }
            }
        } else {
            t.literal = c;
        }
        tokens.push_back(t);
    }
    return tokens;
}

}  // namespace

bool blnLikeMatch(const QString& text, const QString& pattern)
{
    const std::vector<Token> tokens = tokenize(pattern);
    // Greedy matching with one back-up point: the last "*" seen. Every
    // other token consumes exactly one character, so this is complete.
    std::size_t p = 0;
    qsizetype s = 0;
    std::size_t starToken = tokens.size();
    qsizetype starText = 0;
    while (s < text.size()) {
        if (p < tokens.size() && tokens[p].kind == Token::Kind::AnyRun) {
            starToken = p++;
            starText = s;
        } else if (p < tokens.size() && tokens[p].matches(text.at(s))) {
            ++p;
            ++s;
        } else if (starToken < tokens.size()) {
            p = starToken + 1;
            s = ++starText;
        } else {
            return false;
        }
    }
    while (p < tokens.size() && tokens[p].kind == Token::Kind::AnyRun)
        ++p;
    return p == tokens.size();
}

}  // namespace quillon
