#pragma once
// A stand-in for the simulator add-on: a window of its class that answers the info request
// and the latitude/longitude requests with atoms of hexadecimal text, as the real one does.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/atoms.h"

namespace testsim {

inline std::string Hex_Of(const void* data, size_t size) {
    std::string s;
    const auto* b = static_cast<const uint8_t*>(data);
    char buf[3];
    for (size_t i = 0; i < size; ++i) {
        std::snprintf(buf, sizeof buf, "%02X", b[i]);
        s += buf;
    }
    return s;
}

// The answer text of a data request: leading integer then the double.
inline std::string Data_Text(int32_t leading, double value) {
    return Hex_Of(&leading, 4) + Hex_Of(&value, 8);
}

class FakeSimulator {
public:
    FakeSimulator() {
        message_ = plat::RegisterWindowMessage("WM_FSCONNECT");
        window_ = plat::RegisterPeerWindow("FSCONNECT8", "", [this](uint32_t m, int64_t w, int64_t l) { return Answer(m, w, l); });
    }
    ~FakeSimulator() { plat::UnregisterPeerWindow(window_); }
    FakeSimulator(const FakeSimulator&) = delete;
    FakeSimulator& operator=(const FakeSimulator&) = delete;

    // The aircraft's place in the protocol's raw units.
    void Place(double latitude_deg, double longitude_deg) {
        raw_lat = latitude_deg / 360 * 40007000.0;
        raw_lon = longitude_deg / 360 * 281474976710656.0;
    }

    double raw_lat = 0, raw_lon = 0;
    std::string info_text = "FSC01" "0000000A" "FFFFFFFF" "xyz";
    int64_t info_answer = -1;   // -1: answer with an atom; otherwise this value
    int64_t data_answer = -1;
    std::string data_override;  // non-empty: the text of every data answer
    int requests = 0;
    std::vector<uint16_t> atoms;   // every atom it answered with

private:
    int64_t Atom_Answer(const std::string& text) {
        const uint16_t atom = plat::GlobalAddAtom(text);
        atoms.push_back(atom);
        return static_cast<int16_t>(atom);   // sign-extended: the client sees a negative number
    }
    int64_t Answer(uint32_t m, int64_t w, int64_t l) {
        if (m != message_) return 0;
        ++requests;
        if (w == 10) return info_answer == -1 ? Atom_Answer(info_text) : info_answer;
        if (w != 1) return 0;
        if (data_answer != -1) return data_answer;
        if (!data_override.empty()) return Atom_Answer(data_override);
        if (l == 71) return Atom_Answer(Data_Text(71, raw_lat));
        if (l == 72) return Atom_Answer(Data_Text(72, raw_lon));
        return 0;
    }
    uint32_t message_ = 0;
    plat::WindowHandle window_ = 0;
};

}  // namespace testsim
