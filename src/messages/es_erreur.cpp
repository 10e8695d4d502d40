// Message composition, developer traces and the verbosity settings.
#include "messages/es_erreur.hpp"

#include "messages/catalogue.hpp"
#include "messages/es_chaine.hpp"

namespace tesmo {

int32_t modees = 0;
int32_t modini = 0;

namespace {

constexpr int32_t kComposedLength = 256;

/// Entry `number` of a table of `count` entries; an entry outside the table reads as blank.
std::string_view entry(const std::string_view* table, int32_t count, int32_t number)
{
    if (number < 1 || number > count) {
        return {};
    }
    return table[number - 1];
}

/// Appends an entry cut after its last non-blank character; a blank entry counts one blank.
void appendCut(std::string& out, std::string_view text)
{
    const std::string_view cut = cutText(text);
    if (cut.empty()) {
        out.push_back(' ');
        return;
    }
    out.append(cut);
}

void compose(const Catalogue& catalogue, int32_t type, int32_t first, int32_t second, std::string& text)
{
    const std::size_t length = text.size();
    std::string out;
    if (type <= 0) {
        if (type < -3) {
            return;
        }
        const std::string_view heading = catalogue.messtype[1 - type - 1];
        out.append(cutText(heading));
        out.push_back(' ');
        out.push_back(' ');
        appendCut(out, entry(catalogue.errmess, catalogue.errmessCount, first));
        out.push_back(' ');
        appendCut(out, entry(catalogue.errmess, catalogue.errmessCount, second));
        out.push_back(' ');
    } else if (type == 1) {
        out.assign(catalogue.helponline);
    } else if (type < 100) {
        return;
    } else {
        appendCut(out, entry(catalogue.messages, catalogue.messagesCount, first));
        out.push_back(' ');
        appendCut(out, entry(catalogue.messages, catalogue.messagesCount, second));
        out.push_back(' ');
    }
    out.resize(length, ' ');
    text = std::move(out);
}

void trace(int32_t setting, int32_t device, int32_t code, std::string_view routine, std::string_view text,
           void (*line)(int32_t, std::string_view, std::string_view))
{
    if (setting < 2) {
        return;
    }
    switch (code) {
    case -1:
        line(device, "ERR -1  DONNEES INCORRECTES DANS :", routine);
        break;
    case -2:
        line(device, "ERR -2  PROBLEME MEMOIRE DANS :", routine);
        break;
    case -3:
        line(device, "ERR -3  NON ENCORE IMPLEMENTE DANS :", routine);
        break;
    default:
        eseint(device, " ", &code, 1);
        break;
    }
    line(device, text, " ");
}

} // namespace

void esinit(int32_t level) { modees = level; }

void pgmess(int32_t type, int32_t first, int32_t second, std::string_view /*french*/, std::string& text)
{
    compose(programCatalogue(), type, first, second, text);
}

void esmess(int32_t type, int32_t first, int32_t second, std::string_view /*french*/, std::string& text)
{
    compose(packageCatalogue(), type, first, second, text);
}

void eserre(int32_t device, int32_t code, std::string_view routine, std::string_view text)
{
    trace(modees, device, code, routine, text, esecha);
}

void mgerre(int32_t device, int32_t code, std::string_view routine, std::string_view text)
{
    trace(modini, device, code, routine, text, mgchai);
}

namespace {

/// A message of the given catalogue composed into a text of the standard report length.
std::string composed(const Catalogue& catalogue, int32_t type, int32_t first, int32_t second)
{
    std::string text(kComposedLength, ' ');
    compose(catalogue, type, first, second, text);
    return text;
}

} // namespace

void esReport(int32_t type, int32_t first, int32_t second, std::string_view tail)
{
    esecha(kConsoleDevice, composed(packageCatalogue(), type, first, second), tail);
}

void esReportInt(int32_t type, int32_t first, int32_t second, int32_t value)
{
    eseint(kConsoleDevice, composed(packageCatalogue(), type, first, second), &value, 1);
}

void esReportReal(int32_t type, int32_t first, int32_t second, float value)
{
    eserea(kConsoleDevice, composed(packageCatalogue(), type, first, second), &value, 1);
}

void pgReport(int32_t type, int32_t first, int32_t second, std::string_view tail)
{
    esecha(kConsoleDevice, composed(programCatalogue(), type, first, second), tail);
}

void pgReportInt(int32_t type, int32_t first, int32_t second, int32_t value)
{
    eseint(kConsoleDevice, composed(programCatalogue(), type, first, second), &value, 1);
}

void pgWarningInt(std::string_view text, int32_t value)
{
    // the program catalogue with the text as its second report entry
    const Catalogue& program = programCatalogue();
    const std::string_view entries[2] = {"", text};
    const Catalogue own{program.helponline, entries, 2, program.messtype, program.messages, program.messagesCount};
    eseint(kConsoleDevice, composed(own, kWarningMessage, 2, 1), &value, 1);
}

} // namespace tesmo
