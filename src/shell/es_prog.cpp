// Command-line processing: mode word, banner, and the parameters of the application.
//
// The parameters come either all from the command line (after the mode word) or, when the
// command line holds none, all from the console, one prompt each. Their texts are gathered
// one after another in a buffer of 256 characters; a parameter may only start while at least
// 32 characters of the buffer are left. Each is then converted to its kind and stored in the
// table of that kind; text values are file names in 80-character fields.
#include "shell/es_prog.hpp"

#include "files/es_lecture.hpp"
#include "files/es_util.hpp"
#include "messages/catalogue.hpp"
#include "messages/es_chaine.hpp"
#include "messages/es_erreur.hpp"
#include "messages/es_messages.hpp"

#include <cstdio>

namespace tesmo {

namespace {

/// The right-aligned integer in a field of `width` characters; stars when it does not fit.
std::string fixedInteger(int32_t value, int32_t width)
{
    char buffer[32];
    const int n = std::snprintf(buffer, sizeof buffer, "%*d", int(width), int(value));
    if (n > width) {
        return std::string(std::size_t(width), '*');
    }
    return std::string(buffer, std::size_t(n));
}

/// The release in a field of 5 characters with 2 decimals; blanks when it is 0 or less.
std::string releaseField(float release)
{
    if (!(release > 0.0f)) {
        return std::string(5, ' ');
    }
    char buffer[48];
    const int n = std::snprintf(buffer, sizeof buffer, "%5.2f", double(release));
    if (n > 5) {
        return std::string(5, '*');
    }
    return std::string(buffer, std::size_t(n));
}

/// The budget message: "too many character for a parameter, must be <=" and 256.
int bufferFull()
{
    esReportInt(kCapacityError, esmsg::kParameterTooLong, esmsg::kNone, kParameterBuffer);
    return kCapacityError;
}

/// True when a parameter may start at the buffer's current position.
bool roomForParameter(const ParameterBuffer& buffer)
{
    return buffer.position + kParameterReserve <= kParameterBuffer;
}

/// Copies a parameter text at the buffer's current position and records it.
void storeParameter(ParameterBuffer& buffer, int32_t k, std::string_view text, int32_t length)
{
    const std::size_t at = std::size_t(buffer.position - 1);
    buffer.text.replace(at, text.size(), text);
    buffer.start[k] = buffer.position;
    buffer.length[k] = length;
    buffer.position += length;
    buffer.text[std::size_t(buffer.position - 1)] = ' ';
    buffer.position += 1;
}

/// The message of a text longer than its field, naming the parameter by its prompt.
void reportTextTooLong(std::string_view prompt)
{
    std::string message(256, ' ');
    esmess(kDataError, esmsg::kParameterTooLong, esmsg::kNone, "trop de caracteres pour un parametre", message);
    std::string line(cutText(message));
    line += ' ';
    line += std::to_string(kParameterTextLength);
    line += " :";
    esecha(kConsoleDevice, line, prompt);
}

/// Reads a real from a parameter text in free format.
int readReal(std::string_view text, float& value)
{
    UnitFile memory;
    memory.content = std::string(text);
    FreeRead read(&memory);
    return read.real(value);
}

} // namespace

std::string_view ParameterBuffer::parameter(int32_t k) const
{
    if (length[k] <= 0) {
        return {};
    }
    return std::string_view(text).substr(std::size_t(start[k] - 1), std::size_t(length[k]));
}

void espmod(Arguments arguments, int32_t& mode, int32_t& help)
{
    help = 0;
    mode = 1;
    if (arguments.count() == 0) {
        return;
    }
    const std::string_view word = arguments(1);
    const char first = word.empty() ? ' ' : word[0];
    if (first == 'h' || first == 'H') {
        help = 1;
        return;
    }
    if (first == 's' || first == 'S') {
        mode = 0;
    } else if (first == 'd' || first == 'D') {
        mode = 2;
    }
    esinit(mode);
}

void eseprg(int32_t device, std::string_view name, float release, std::string_view /*owner*/, int32_t date,
            std::string_view contact)
{
    // 1. name and release
    esecha(device, name, releaseField(release));
    // 2. date as day, month, year
    if (date > 0) {
        std::string word(kCatalogueField, ' ');
        esmess(kInfoMessage, esmsg::kInfoDate, esmsg::kNone, "DATE", word);
        const std::string fields =
            fixedInteger(date % 100, 3) + fixedInteger((date % 10000) / 100, 3) + fixedInteger(date / 10000, 5);
        esecha(device, word, fields);
    }
    // 3. contact, unless it starts with a blank
    if (!contact.empty() && contact[0] != ' ') {
        std::string word(kCatalogueField, ' ');
        esmess(kInfoMessage, esmsg::kInfoContact, esmsg::kNone, "CONTACT", word);
        esecha(device, word, contact);
    }
}

int esgarg(Arguments arguments, int32_t declared, ParameterBuffer& buffer, int32_t& found)
{
    found = 0;
    if (declared > kMaxParameters) {
        esReportInt(kCapacityError, esmsg::kTooManyParameters, esmsg::kNone, kMaxParameters);
        return kCapacityError;
    }
    const int32_t given = arguments.count() > 0 ? arguments.count() - 1 : 0;
    if (given > declared) {
        esReportInt(kDataError, esmsg::kTooManyParameters, esmsg::kNone, declared);
        return kDataError;
    }
    for (int32_t k = 0; k < given; ++k) {
        if (!roomForParameter(buffer)) {
            return bufferFull();
        }
        const std::string_view argument = arguments(k + 2);
        const std::string_view text = cutText(argument);
        // A text that does not fit in what is left of the buffer is refused, never cut.
        if (buffer.position - 1 + int32_t(text.size()) + 1 > kParameterBuffer) {
            return bufferFull();
        }
        const int32_t length = text == "-" ? 0 : int32_t(text.size());
        storeParameter(buffer, k, text, length);
        ++found;
    }
    return kOk;
}

int eslarg(Vec<const ParameterSpec> parameters, ParameterBuffer& buffer)
{
    if (parameters.count() > kMaxParameters) {
        esReportInt(kCapacityError, esmsg::kTooManyParameters, esmsg::kNone, kMaxParameters);
        return kCapacityError;
    }
    for (int32_t k = 0; k < parameters.count(); ++k) {
        if (!roomForParameter(buffer)) {
            return bufferFull();
        }
        // One character less than the free space: the blank that ends every parameter.
        const int32_t free = kParameterBuffer - buffer.position;
        std::string answer;
        (void)eslcha(kConsoleDevice, parameters(k + 1).prompt, answer, free + 1);
        const int32_t length = eslgch(answer);
        if (length > free) {
            return bufferFull();
        }
        storeParameter(buffer, k, std::string_view(answer).substr(0, std::size_t(length)), length);
    }
    return kOk;
}

int esform(int32_t type, int32_t& kind)
{
    switch (type) {
    case kInputFile:
    case kNewOutputFile:
    case kKeyword:
    case kOutputFile:
    case kInputFileToo:
        kind = kTextKind;
        return kOk;
    case kIntegerValue:
        kind = kIntegerKind;
        return kOk;
    case kRealValue:
        kind = kRealKind;
        return kOk;
    default:
        kind = 0;
        return kDataError;
    }
}

namespace {

/// Converts a number parameter into the next entry of its table (0 when absent); a text that
/// is not a number leaves the presence flag at "not converted" and traces in debug mode.
template <class T, class Parse>
int convertNumber(std::string_view text, bool empty, Vec<T> table, int32_t& count, int32_t& index,
                  int32_t& presence, Parse parse, std::string_view full)
{
    if (count >= table.count()) {
        return estraced(kCapacityError, "ESCONV", full);
    }
    index = ++count;
    T& value = table(index);
    value = T(0);
    if (empty) {
        return kOk;
    }
    T read = T(0);
    if (parse(text, read) == kReadOk) {
        value = read;
        presence = kGiven;
    } else {
        presence = kNotConverted;
        eserre(kConsoleDevice, 0, "ESCONV", "?? IOS EST POSITIF");
    }
    return kOk;
}

} // namespace

int esconv(int32_t kind, std::string_view text, std::string_view prompt, ParameterValues& values, int32_t& index,
           int32_t& presence)
{
    presence = kAbsent;
    const bool empty = text.empty();
    if (kind == kTextKind) {
        if (values.textCount >= values.texts.count()) {
            return estraced(kCapacityError, "ESCONV", "TABLEAU DES TEXTES TROP PETIT");
        }
        index = ++values.textCount;
        std::string& field = values.texts(index);
        field.assign(std::size_t(kParameterTextLength), ' ');
        if (empty) {
            return kOk;
        }
        if (int32_t(text.size()) > kParameterTextLength) {
            presence = kNotConverted;
            reportTextTooLong(prompt);
            return kDataError;
        }
        field.replace(0, text.size(), text);
        presence = kGiven;
        return kOk;
    }
    if (kind == kIntegerKind) {
        return convertNumber(text, empty, values.integers, values.integerCount, index, presence, parseInteger,
                             "TABLEAU DES ENTIERS TROP PETIT");
    }
    if (kind == kRealKind) {
        return convertNumber(text, empty, values.reals, values.realCount, index, presence, readReal,
                             "TABLEAU DES REELS TROP PETIT");
    }
    return estraced(kDataError, "ESCONV", "GENRE INCONNU");
}

int32_t esamot(std::string_view text, Vec<const Keyword> keywords)
{
    std::string upper(text);
    majusc(int32_t(upper.size()), upper);
    for (int32_t k = 1; k <= keywords.count(); ++k) {
        const std::string_view mot = keywords(k).mot;
        const std::size_t blank = mot.find(' ');
        const std::string_view compared = mot.substr(0, blank);
        if (compared.empty()) {
            continue;
        }
        if (upper.size() >= compared.size() && std::string_view(upper).substr(0, compared.size()) == compared) {
            return keywords(k).icode;
        }
    }
    return -1;
}

int espexf(int32_t type, std::string_view name)
{
    const std::string_view file = cutText(name);
    if (type == kInputFile || type == kInputFileToo) {
        if (fitest(file, 1, 0) != 0) {
            esReport(kDataError, esmsg::kCantOpenForWriting, esmsg::kNone, file);
            return kDataError;
        }
    } else if (type == kNewOutputFile) {
        if (fitest(file, 0, 0) != 0) {
            esReport(kDataError, esmsg::kFileExists, esmsg::kNone, file);
            return kDataError;
        }
    }
    return kOk;
}

int esplex(Vec<const ParameterSpec> parameters, Vec<const Keyword> keywords, const ParameterBuffer& buffer,
           ParameterValues& values)
{
    const int32_t count = parameters.count();
    if (count > kMaxParameters || values.index.count() < count || values.presence.count() < count) {
        return estraced(kCapacityError, "ESPLEX", "TABLEAUX DES PARAMETRES TROP PETITS");
    }
    values.textCount = 0;
    values.integerCount = 0;
    values.realCount = 0;
    for (int32_t k = 1; k <= count; ++k) {
        const ParameterSpec& parameter = parameters(k);
        // 1. kind of the parameter
        int32_t kind = 0;
        int code = esform(parameter.itypel, kind);
        if (code != kOk) {
            return estraced(code, "ESPLEX", " APPEL ESFORM");
        }
        const std::string_view text = buffer.parameter(k - 1);
        // 2. keyword: its code goes to the integer table
        if (parameter.itypel == kKeyword) {
            if (values.integerCount >= values.integers.count()) {
                return estraced(kCapacityError, "ESPLEX", "TABLEAU DES ENTIERS TROP PETIT");
            }
            const int32_t found = esamot(text, keywords);
            values.index(k) = ++values.integerCount;
            values.integers(values.index(k)) = found;
            values.presence(k) = found != -1 ? kGiven : kAbsent;
            continue;
        }
        // 3. other kinds
        code = esconv(kind, text, parameter.prompt, values, values.index(k), values.presence(k));
        if (code != kOk) {
            return estraced(code, "ESPLEX", " APPEL ESCONV");
        }
    }
    // 4. required parameters
    for (int32_t k = 1; k <= count; ++k) {
        if (parameters(k).ioptio == 1 && values.presence(k) == kAbsent) {
            esReport(kDataError, esmsg::kParameterMissing, esmsg::kNone, parameters(k).prompt);
            return kDataError;
        }
    }
    return kOk;
}

int esprog(Arguments arguments, Vec<const ParameterSpec> parameters, Vec<const Keyword> keywords,
           ParameterValues& values)
{
    if (parameters.count() > kMaxParameters) {
        esReportInt(kCapacityError, esmsg::kTooManyParameters, esmsg::kNone, kMaxParameters);
        return kCapacityError;
    }
    // 1. the command line, or else the console
    ParameterBuffer buffer;
    int32_t found = 0;
    int code = esgarg(arguments, parameters.count(), buffer, found);
    if (code != kOk) {
        return estraced(code, "ESPROG", " APPEL ESGARG");
    }
    if (found == 0) {
        code = eslarg(parameters, buffer);
        if (code != kOk) {
            return estraced(code, "ESPROG", " APPEL ESLARG");
        }
    }
    // 2. conversion
    code = esplex(parameters, keywords, buffer, values);
    if (code != kOk) {
        return estraced(code, "ESPROG", " APPEL ESPLEX");
    }
    // 3. files
    for (int32_t k = 1; k <= parameters.count(); ++k) {
        if (values.presence(k) == kAbsent) {
            continue;
        }
        int32_t kind = 0;
        (void)esform(parameters(k).itypel, kind);
        if (kind != kTextKind || parameters(k).itypel == kKeyword) {
            continue;
        }
        code = espexf(parameters(k).itypel, values.texts(values.index(k)));
        if (code != kOk) {
            return estraced(code, "ESPROG", " APPEL ESPEXF");
        }
    }
    return kOk;
}

} // namespace tesmo
