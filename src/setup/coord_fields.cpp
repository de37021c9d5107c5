#include "setup/coord_fields.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

#include "core/coord_text.h"
#include "core/erreur.h"
#include "core/syst.h"
#include "platform/number.h"
#include "platform/text.h"

bool Coord_Is_Number(const std::string& raw) {
    const std::string t = plat::Trim(raw);
    const char sep = plat::DecimalSeparator();
    size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    bool digits = false, separator = false;
    for (; i < t.size(); ++i) {
        if (t[i] >= '0' && t[i] <= '9') digits = true;
        else if (t[i] == sep && !separator) separator = true;
        else break;
    }
    if (!digits) return false;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
        bool exponent = false;
        for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) exponent = true;
        if (!exponent) return false;
    }
    if (i != t.size()) return false;
    // An exponent too large for a double is no number either.
    std::string c_text = t[0] == '+' ? t.substr(1) : t;
    for (char& ch : c_text)
        if (ch == sep) ch = '.';
    double v = 0;
    const auto [end, ec] = std::from_chars(c_text.data(), c_text.data() + c_text.size(), v);
    return ec == std::errc() && end == c_text.data() + c_text.size() && std::isfinite(v);
}

void Coord_Field::GotFocus() const {
    Box.SelStart = 0;
    Box.SelLength = static_cast<int>(Box.Text().size());
}

void Coord_Field::Show_Value() const { Box.SetText(SYST_To_Text(Value)); }

bool Coord_Field::Validate() const {
    const std::string text = plat::Trim(Box.Text());
    Box.SetText(text);
    if (Coord_Is_Number(text)) {
        const double v = SYST_To_Double(text);
        bool in_range = false;
        switch (Kind) {
            case Coord_Kind::Latitude: in_range = v >= -90 && v <= 90; break;
            case Coord_Kind::Longitude: in_range = v >= -180 && v <= 180; break;
            case Coord_Kind::Metres_Per_Pixel: in_range = v > 0; break;
        }
        if (in_range) {
            Value = v;
            if (Other) Other->SetCaption(Kind == Coord_Kind::Latitude ? Com_Format_Lat_Dms(v) : Com_Format_Lon_Dms(v));
            return false;
        }
    } else if (Kind != Coord_Kind::Metres_Per_Pixel) {
        double v = 0;
        int16_t error = 1;
        if (Kind == Coord_Kind::Latitude) SrfBis_Parse_Lat(text, v, error);
        else SrfBis_Parse_Lon(text, v, error);
        if (error == 0) {
            Value = v;
            if (Other) Other->SetCaption(SYST_To_Text(v));
            return false;
        }
    }
    Msg_Answer = ERREUR_Show_Message(1);
    return true;
}
