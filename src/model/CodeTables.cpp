#include "CodeTables.h"

namespace quillon {

QString strGenNextItemInString(QString& text)
{
    if (!text.endsWith(QLatin1Char(',')))
        text += QLatin1Char(',');
    const qsizetype comma = text.indexOf(QLatin1Char(','));
    if (comma <= 0) {
        text.clear();
        return QString();
    }
    const QString item = text.left(comma).trimmed();
    text = text.mid(comma + 1);
    return item;
}

namespace {

struct RangeRow {
    const char* letter;
    std::int16_t metricMin, metricMax, imperialMin, imperialMax;
};

// Speeds of the spindle letter "S" depend on the Woodworker variant; the
// placeholder row below is patched when the table is built.
constexpr RangeRow kF1Ranges[] = {
    {"X", -19999, 19999, -7999, 7999}, {"Y", -9999, 9999, -3999, 3999},
    {"Z", -19999, 19999, -7999, 7999}, {"F", 2, 499, 2, 199},
    {"t", 0, 19999, 1, 19999},         {"L", 0, 221, 0, 221},
    {"d", 0, 9999, 0, 3999},           {"D", 0, 19999, 0, 19999},
    {"S", 0, 2000, 0, 2000},           {"O", -19999, 19999, -7999, 7999},
    {"T", 0, 499, 0, 199},             {"x", 0, 100, 0, 100},
    {"y", 0, 100, 0, 100},             {"z", 0, 100, 0, 100},
    {"i", 0, 19999, 0, 7999},          {"j", 0, 9999, 0, 3999},
    {"k", 0, 19999, 0, 7999},
};

constexpr RangeRow kMark4Ranges[] = {
    {"X", -5999, 5999, -1999, 1999}, {"Z", -32760, 32760, -12900, 12900},
    {"F", 2, 499, 2, 199},           {"D", 0, 5999, 0, 1999},
    {"L", 0, 221, 0, 221},           {"K", 2, 499, 2, 199},
    {"H", 0, 999, 0, 999},           {"h", 10, 999, 10, 999},
    {"T", 0, 499, 0, 199},           {"x", 0, 100, 0, 100},
    {"z", 0, 100, 0, 100},           {"i", 0, 5999, 0, 1999},
    {"k", 0, 32760, 0, 12900},
};

constexpr RangeRow kMark2Ranges[] = {
    {"X", -5999, 5999, -1999, 1999}, {"Z", -32760, 32760, -12900, 12900},
    {"f", 1, 499, 1, 199},           {"F", 2, 499, 2, 199},
    {"K", 2, 499, 2, 199},
};

const char* const kF1Codes[] = {
    "G00,X,Y,Z,,,Eilgang",
    "G01,X,Y,Z,F,,Geradeninterpolation",
    "G02,X,Y,Z,F,,Kreisinterpolation im Uhrzeigersinn",
    "G03,X,Y,Z,F,,Kreisinterpolation im Gegenuhrzeigersinn",
    "G04,D,,,,,Verweilzeit",
    "G21,,,,,,Leerzeile",
    "G25,,,,L,,Sprung ins Unterprogramm",
    "G27,,,,L,,Sprungbefehl",
    "G40,,,,,,Werkzeugradiuskorrektur löschen",
    "G45,,,,,,Werkzeugradius addieren",
    "G46,,,,,,Subtrahiere Werkzeugradius ",
    "G47,,,,,,Addiere Werkzeugradius zweimal",
    "G48,,,,,,Subtrahiere Werkzeugradius doppelt",
    "G64,,,,,,Vorschubmotoren stromlos schalten",
    "G72,X,Y,Z,F,,Taschenfräszyklus",
    "G73,,,Z,F,,Spanbrechzyklus",
    "G81,,,Z,F,,Bohrzyklus",
    "G82,,,Z,F,,Bohrzyklus mit Verweilzeit",
    "G83,,,Z,F,,Aushebbohrzyklus",
    "G85,,,Z,F,,Ausreibzyklus",
    "G89,,,Z,F,,Ausreibzyklus mit Verweilzeit",
    "G90,,,,,,Absolutwertprogrammierung",
    "G91,,,,,,Inkrementalprogrammierung",
    "G92,X,Y,Z,,,Speicher setzen",
    "M00,,,,,,Programm Halt",
    "M03,,,,,,Frässpindel im Uhrzeigersinn",
    "M05,,,,,,Frässpindel Halt",
    "M06,d,S,O,T,,Werkzeug Wechsel",
    "M17,,,,,,Rücksprung ins Hauptprogramm",
    "M30,,,,,,Programmende",
    "M98,x,y,z,,,Automatischer Spielausgleich",
    "M99,i,j,k,,,Kreisparameter",
};

const char* const kMark4Codes[] = {
    "G00,X,,Z,,,Eilgang",
    "G01,X,,Z,F,,Geradeninterpolation",
    "G02,X,,Z,F,,Kreisinterpolation im Uhrzeigersinn",
    "G03,X,,Z,F,,Kreisinterpolation im Gegenuhrzeigersinn",
    "G04,D,,,,,Verweilzeit",
    "G21,,,,,,Leerzeile",
    "G24,,,,,,Radiusangabe bei Absolutwertangabe",
    "G25,,,,L,,Unterprogrammaufruf",
    "G27,,,,L,,Sprungbefehl",
    "G33,,,Z,K,,Gewindeschneiden, gleichbleibende Steigung",
    "G64,,,,,,Vorschubmotoren stromlos schalten",
    "G73,,,Z,F,,Spanbrechzyklus",
    "G78,X,,Z,K,H,Gewindezyklus",
    "G81,,,Z,F,,Bohrzyklus",
    "G82,,,Z,F,,Bohrzyklus mit Verweilzeit",
    "G83,,,Z,F,,Aushebebohrzyklus; Tieflochbohrzyklus",
    "G84,X,,Z,F,H,Längsdrehen",
    "G85,,,Z,F,,Ausreibzyklus",
    "G86,X,,Z,F,h,Einstechzyklus",
    "G88,X,,Z,F,H,Plandrehzyklus",
    "G89,,,Z,F,,Ausreib.- & Bohrzyklus mit Verweilzeit",
    "G90,,,,,,Absolutwertprogrammierung",
    "G91,,,,,,Inkrementalprogrammierung",
    "G92,X,,Z,,,Speicher setzen",
    "G94,,,,,,Vorschub in mm/min (inch/mm)",
    "G95,,,,,,Vorschub in mm/Umdrehung inch/Umdrehung)",
    "M00,,,,,,Programmierter Halt",
    "M03,,,,,,Hauptspindel im Uhrzeigersinn",
    "M05,,,,,,Hauptspindel Halt",
    "M06,X,,Z,T,,Werkzeuglängenverrechnung, Werkzeugwechsel",
    "M17,,,,,,Rücksprungbefehl",
    "M30,,,,,,Programmende",
    "M98,x,y,z,,,Automatischer Spielausgleich",
    "M99,i,,k,,,Kreisparameter",
};

const char* const kMark2Codes[] = {
    "G00,X,,Z,,,Eilgang",
    "G01,X,,Z,F,,Geradeninterpolation",
    "G02,X,,Z,F,,Kreisinterpolation im Uhrzeigersinn",
    "G03,X,,Z,F,,Kreisinterpolation im Gegenuhrzeigersinn",
    "G20,,,,,,Zwischenhalt",
    "G21,,,,,,Leerzeile",
    "G22,,,,,,Programmende",
    "G23,X,,Z,f,,DNC Interface",
    "G24,,,,,,Radiusangabe bei Absolutwertangabe",
    "G26,X,,Z,f,,Werkzeuglängenverrechnung (& Werkzeugwechsel)",
    "G33,,,Z,k,,Gewindeschneiden, gleichbleibende Steigung",
    "G64,,,,,,Vorschubmotoren stromlos schalten",
    "G78,X,,Z,k,,Gewindezyklus",
    "G84,X,,Z,F,,Längsdrehzyklus",
    "G90,,,,,,Absolutwertprogrammierung",
    "G91,,,,,,Inkrementalprogrammierung",
    "G92,X,,Z,,,Programmierte Bezugspunktverschiebung",
    "G94,,,,,,Vorschub in mm/min (inch/mm)",
    "G95,,,,,,Vorschub in mm/Umdrehung inch/Umdrehung)",
};

}  // namespace

void CodeTables::GetCommands(MachineType type, bool woodworker)
{
    m_codes.clear();
    m_ranges.clear();

    auto addRanges = [this, type, woodworker](const auto& rows) {
        for (const RangeRow& r : rows) {
            std::int16_t mMax = r.metricMax;
            std::int16_t iMax = r.imperialMax;
            if (type == MachineType::F1 && woodworker && QLatin1String(r.letter) == QLatin1String("S")) {
                mMax = 8000;
                iMax = 8000;
            }
            SetParams(QString::fromUtf8(r.letter), r.metricMin, mMax, r.imperialMin, iMax);
        }
    };
    auto addCodes = [this](const auto& defs) {
        for (const char* def : defs)
            SetCodes(QString::fromUtf8(def));
    };

    switch (type) {
    case MachineType::F1:
        addRanges(kF1Ranges);
        addCodes(kF1Codes);
        break;
    case MachineType::Mark4:
        addRanges(kMark4Ranges);
        addCodes(kMark4Codes);
        break;
    case MachineType::Mark2:
        addRanges(kMark2Ranges);
        addCodes(kMark2Codes);
        break;
    default:
        break;
    }
}

void CodeTables::SetParams(const QString& letter, std::int16_t metricMin, std::int16_t metricMax,
                           std::int16_t imperialMin, std::int16_t imperialMax)
{
    m_ranges.push_back({letter, metricMin, metricMax, imperialMin, imperialMax});
}

void CodeTables::SetCodes(const QString& definition)
{
    QString rest = definition;
    CodeEntry entry;
    entry.code = strGenNextItemInString(rest);
    for (QString& slot : entry.slotLetters) {
        rest.prepend(QLatin1Char(' '));
        slot = strGenNextItemInString(rest);
    }
    rest.prepend(QLatin1Char(' '));
    entry.description = strGenNextItemInString(rest);
    m_codes.push_back(std::move(entry));
}

const CodeEntry* CodeTables::findCode(const QString& code) const
{
    for (const CodeEntry& e : m_codes)
        if (e.code == code)
            return &e;
    return nullptr;
}

const RangeEntry* CodeTables::findRange(const QString& letter) const
{
    for (const RangeEntry& r : m_ranges)
        if (r.letter == letter)
            return &r;
    return nullptr;
}

const RangeEntry* CodeTables::rangeForLetter(const QString& letter) const
{
    if (const RangeEntry* exact = findRange(letter))
        return exact;
    return m_ranges.empty() ? nullptr : &m_ranges.back();
}

}  // namespace quillon
