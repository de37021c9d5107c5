// Requests to the add-on's window, answers read back from hexadecimal atoms, and the aircraft's
// latitude and longitude.
#include "simlink/fsconnect_client.h"

#include <cstring>
#include <stdexcept>

#include "platform/host.h"

namespace {

constexpr int64_t kInfoRequest = 10;
constexpr int64_t kDataRequest = 1;

class FSConnect_Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

int16_t To_Int16(int64_t r) {
    if (r < -32768 || r > 32767) throw FSConnect_Error("Overflow");
    return static_cast<int16_t>(r);
}

int Hex_Digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    throw FSConnect_Error("Type mismatch");
}

// Eight digits as a two's-complement 32-bit number.
int32_t Hex_Long(const std::string& text, size_t from) {
    if (text.size() < from + 8) throw FSConnect_Error("Type mismatch");
    uint32_t v = 0;
    for (size_t i = from; i < from + 8; ++i) v = (v << 4) | static_cast<uint32_t>(Hex_Digit(text[i]));
    return static_cast<int32_t>(v);
}

// The answer text an atom carries; the atom is deleted once read.
std::string Take_Atom_Text(int16_t r) {
    const auto atom = static_cast<uint16_t>(r);
    std::string text = plat::GlobalGetAtomName(atom);
    // A 255-character buffer keeps room for its terminating zero.
    if (text.size() > 254) text.resize(254);
    plat::GlobalDeleteAtom(atom);
    return text;
}

int32_t Read_Int32(const uint8_t (&b)[256], int first) {
    int32_t v = 0;
    std::memcpy(&v, &b[first], sizeof v);
    return v;
}

double Read_Double(const uint8_t (&b)[256], int first) {
    double v = 0;
    std::memcpy(&v, &b[first], sizeof v);
    return v;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

int16_t Get_Position(int32_t request_id, double divisor, double& degrees, const char* routine) {
    try {
        double value = 0;
        std::string text;
        int32_t leading = 0;
        const int16_t status = FSConnect_Request(request_id, "n", value, text, leading);
        if (status == 0) degrees = value / divisor * 360;
        return status;
    } catch (const std::exception& e) {
        plat::CurrentHost().MsgBox(std::string("Error in routine ") + routine + "!\r\r" + e.what(),
                                   plat::MB_OK | plat::MB_ICONSTOP, "Tessaline");
        return 1;
    }
}

}  // namespace

bool FSConnect_Connect() {
    FSConnect_Link.Message = plat::RegisterWindowMessage("WM_FSCONNECT");
    FSConnect_Link.Window = static_cast<int32_t>(plat::FindWindow("FSCONNECT8", ""));
    return FSConnect_Link.Message != 0 && FSConnect_Link.Window != 0;
}

void FSConnect_Hex_To_Bytes(const std::string& hex, uint8_t (&bytes)[256]) {
    const size_t pairs = hex.size() / 2;
    for (size_t i = 1; i <= pairs && i <= 255; ++i)
        bytes[i] = static_cast<uint8_t>(Hex_Digit(hex[2 * i - 2]) * 16 + Hex_Digit(hex[2 * i - 1]));
}

int16_t FSConnect_Request(int32_t request_id, const std::string& value_type, double& value, std::string& text,
                          int32_t& leading) {
    if (!FSConnect_Connect()) return 1;
    const int16_t r = To_Int16(plat::SendMessage(FSConnect_Link.Window, FSConnect_Link.Message, kDataRequest, request_id));
    if (r == 0) return 1;
    if (r > 0) return r;
    const std::string answer = Take_Atom_Text(r);
    uint8_t bytes[256] = {};
    FSConnect_Hex_To_Bytes(answer, bytes);
    leading = Read_Int32(bytes, 1);
    const char type = value_type.empty() ? '\0' : Lower(value_type[0]);
    switch (type) {
    case 'n': case 'b': value = Read_Double(bytes, 5); break;
    case 'e': case 'f': case 'd': case 'o': case 'p': value = Read_Int32(bytes, 5); break;
    default: break;
    }
    text = answer.size() > 8 ? answer.substr(8) : std::string();
    return 0;
}

int16_t FSConnect_Get_Info(std::string& name, std::string& rest, int32_t& first, int32_t& second) {
    if (!FSConnect_Connect()) return 1;
    // Nothing above the poll catches a garbled answer, so it counts as no server.
    try {
        const int16_t r = To_Int16(plat::SendMessage(FSConnect_Link.Window, FSConnect_Link.Message, kInfoRequest, 0));
        if (r == 0) return 1;
        if (r > 0) return r;
        const std::string answer = Take_Atom_Text(r);
        const int32_t a = Hex_Long(answer, 5);
        const int32_t b = Hex_Long(answer, 13);
        name = answer.substr(0, 5);
        first = a;
        second = b;
        rest = answer.size() > 21 ? answer.substr(21) : std::string();
        return 0;
    } catch (const FSConnect_Error&) {
        return 1;
    }
}

int16_t fscGetLatitude(double& latitude) { return Get_Position(71, 40007000.0, latitude, "fscGetLatitude"); }

int16_t fscGetLongitude(double& longitude) {
    return Get_Position(72, 281474976710656.0, longitude, "fscGetLongitude");
}

void FSConnect_Reset() { FSConnect_Link = FSConnect_Link_Rec{}; }
