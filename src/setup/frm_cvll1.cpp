// The latitude/longitude converter: readers of its three forms, each row's boxes checked, and
// the entered row converted into the other two.
#include "setup/frm_cvll1.h"

#include "core/coord_text.h"
#include "core/erreur.h"
#include "core/number_entry.h"
#include "core/syst.h"
#include "platform/text.h"
#include "platform/ui/modal.h"

#include <cmath>
#include <initializer_list>

namespace {

double Round_6(double v) { return SYST_Round(v * 1000000.0) / 1000000.0; }

// DDMMmmmH (latitude, 2 degree digits) or DDDMMmmmH (longitude, 3): only the length is checked.
bool Read_Compact(const std::string& text, size_t degree_digits, char positive, double& value) {
    // One byte per character, so that positions count characters.
    const std::string t = plat::Utf8ToCp1252(text);
    if (t.size() != degree_digits + 6) return false;
    const double degrees = plat::Val(t.substr(0, degree_digits));
    const double minutes = plat::Val(t.substr(degree_digits, 2));
    const double thousandths = SYST_To_Double(t.substr(degree_digits + 2, 3));
    const double v = minutes / 60.0 + degrees + thousandths / 60000.0;
    value = t[degree_digits + 5] == positive ? v : -v;
    return true;
}

bool Read_Compact_Lat(const std::string& text, double& value) { return Read_Compact(text, 2, 'N', value); }
bool Read_Compact_Lon(const std::string& text, double& value) { return Read_Compact(text, 3, 'E', value); }

// Letter, degrees ":" minutes ":" seconds, or the letter alone for 0.
bool Read_Dms(const std::string& text, char positive, char negative, double limit, double& value) {
    const std::string& t = text;
    if (t.empty() || (t[0] != positive && t[0] != negative)) return false;
    const double sign = t[0] == positive ? 1.0 : -1.0;
    if (t.size() == 1) {
        value = sign * 0.0;
        return true;
    }
    // 0-based: the letter at 0, the first colon at 2 or later, neither colon last.
    const size_t c1 = t.find(':', 1);
    if (c1 == std::string::npos || c1 < 2 || c1 == t.size() - 1) return false;
    const size_t c2 = t.find(':', c1 + 1);
    if (c2 == std::string::npos || c2 < c1 + 2 || c2 == t.size() - 1) return false;
    const std::string d = t.substr(1, c1 - 1), m = t.substr(c1 + 1, c2 - c1 - 1), s = t.substr(c2 + 1);
    // Parts that are no number are refused rather than read as 0.
    if (!Number_Entry_Is_Number(d) || !Number_Entry_Is_Number(m) || !Number_Entry_Is_Number(s)) return false;
    const double degrees = SYST_To_Double(d), minutes = SYST_To_Double(m), seconds = SYST_To_Double(s);
    if (std::fabs(degrees) > limit) return false;
    if (minutes < 0 || minutes > 60) return false;
    if (seconds < 0 || seconds > 60) return false;
    value = sign * Round_6(minutes / 60.0 + degrees + seconds / 3600.0);
    return true;
}

bool Read_Dms_Lat(const std::string& text, double& value) { return Read_Dms(text, 'N', 'S', 90, value); }
bool Read_Dms_Lon(const std::string& text, double& value) { return Read_Dms(text, 'E', 'W', 180, value); }

}  // namespace

Frm_CvLL1::Frm_CvLL1() : Form("Frm_CvLL1") {
    Form_Load = [this] { Frm_CvLL1_Form_Load(); };
    Lat1.Validate = [this](bool& cancel) { Frm_CvLL1_Lat1_Validate(cancel); };
    Lon1.Validate = [this](bool& cancel) { Frm_CvLL1_Lon1_Validate(cancel); };
    Lat2.Validate = [this](bool& cancel) { Frm_CvLL1_Lat2_Validate(cancel); };
    Lon2.Validate = [this](bool& cancel) { Frm_CvLL1_Lon2_Validate(cancel); };
    Lat3.Validate = [this](bool& cancel) { Frm_CvLL1_Lat3_Validate(cancel); };
    Lon3.Validate = [this](bool& cancel) { Frm_CvLL1_Lon3_Validate(cancel); };
    OptClc.SetWire([this](plat::OptionButton& o, int i) {
        plat::Frame* frames[] = {&Frame1, &Frame2, &Frame3};
        if (i >= 0 && i < 3) o.SetContainer(frames[i]);
    });
    Cmd_Clc.Click = [this] { Frm_CvLL1_Cmd_Clc_Click(); };
    Cmd_Cancel.Click = [this] { Frm_CvLL1_Cmd_Cancel_Click(); };
    Cmd_Help.Click = [this] { Frm_CvLL1_Cmd_Help_Click(); };
    const auto place = [](plat::Frame& frame, std::initializer_list<plat::Control*> controls) {
        for (plat::Control* c : controls) c->SetContainer(&frame);
    };
    place(Frame1, {&Lat1, &Lon1, &RLat1, &RLon1, &RLat1A, &RLon1A});
    place(Frame2, {&Lat2, &Lon2, &RLat2, &RLon2, &RLat2A, &RLon2A});
    place(Frame3, {&Lat3, &Lon3, &RLat3, &RLon3, &RLat3A, &RLon3A});
}

void Frm_CvLL1::Design() {
    SetCaption("Latitude/Longitude Conversion");
    BorderStyle = 3;
    Move(0, 0, 620, 300);
    Lab_Lat.SetCaption("Latitude");
    Lab_Lat.Move(48, 8, 120, 16);
    Lab_Lon.SetCaption("Longitude");
    Lab_Lon.Move(178, 8, 120, 16);
    Lab_Results.SetCaption("Results :");
    Lab_Results.Move(312, 8, 120, 16);

    struct Row {
        plat::Frame& frame;
        const char* caption;
        plat::TextBox& lat;
        plat::TextBox& lon;
        const char* lat_text;
        const char* lon_text;
        plat::Label& r_lat;
        plat::Label& r_lon;
        plat::Label& r_lat_a;
        plat::Label& r_lon_a;
    };
    const Row rows[] = {
        {Frame1, "Decimal degrees : -1,12345", Lat1, Lon1, "1,12345", "1,12345", RLat1, RLon1, RLat1A, RLon1A},
        {Frame2, "Degrees, minutes, 1/000 min, N/E; as IGC file :", Lat2, Lon2, "0011222N", "00011222E", RLat2, RLon2,
         RLat2A, RLon2A},
        {Frame3, "N/E, degrees, minutes, seconds", Lat3, Lon3, "N1:2:3.44", "E25:23.56", RLat3, RLon3, RLat3A, RLon3A},
    };
    for (int i = 0; i < 3; ++i) {
        const Row& r = rows[i];
        r.frame.SetCaption(r.caption);
        r.frame.Move(8, 28 + 72 * i, 604, 64);
        OptClc(i).Move(8, 24, 20, 20);
        r.lat.SetText(r.lat_text);
        r.lat.Move(36, 24, 120, 21);
        r.lon.SetText(r.lon_text);
        r.lon.Move(166, 24, 120, 21);
        r.r_lat.Move(300, 16, 140, 18);
        r.r_lon.Move(450, 16, 140, 18);
        r.r_lat_a.Move(300, 38, 140, 18);
        r.r_lon_a.Move(450, 38, 140, 18);
    }
    Cmd_Clc.SetCaption("Calculate");
    Cmd_Clc.Move(200, 252, 90, 28);
    Cmd_Cancel.SetCaption("Quit");
    Cmd_Cancel.Move(300, 252, 90, 28);
    Cmd_Help.SetCaption("Help");
    Cmd_Help.Move(400, 252, 90, 28);
}

void Frm_CvLL1::Frm_CvLL1_Form_Load() {
    Lat1.SetText(SYST_To_Text(1.12345));
    Lon1.SetText(SYST_To_Text(1.12345));
    Row_Lat[0] = Row_Lon[0] = 1.12345;
    // The stored values start at 1 whatever the texts say, until a box is validated.
    Lat2.SetText("0011222N");
    Lon2.SetText("00011222E");
    Row_Lat[1] = Row_Lon[1] = 1;
    Lat3.SetText("N1:1:" + SYST_To_Text(1.0001));
    Lon3.SetText("E2:2:" + SYST_To_Text(2.0002));
    Row_Lat[2] = Row_Lon[2] = 1;
    for (plat::Label* l : {&RLat1, &RLon1, &RLat1A, &RLon1A, &RLat2, &RLon2, &RLat2A, &RLon2A, &RLat3, &RLon3,
                           &RLat3A, &RLon3A})
        l->SetCaption("");
    OptClc(0).SetValue(true);
}

void Frm_CvLL1::Take_Entry(plat::TextBox& box, Reader read, double& stored, bool& cancel) {
    const std::string text = plat::Trim(box.Text());
    box.SetText(text);
    double value = 0;
    if (read(text, value)) {
        stored = value;
        return;
    }
    Msg_Answer = ERREUR_Show_Message(1);
    cancel = true;
}

void Frm_CvLL1::Frm_CvLL1_Lat1_Validate(bool& cancel) { Take_Entry(Lat1, Number_Entry_Read, Row_Lat[0], cancel); }
void Frm_CvLL1::Frm_CvLL1_Lon1_Validate(bool& cancel) { Take_Entry(Lon1, Number_Entry_Read, Row_Lon[0], cancel); }
void Frm_CvLL1::Frm_CvLL1_Lat2_Validate(bool& cancel) { Take_Entry(Lat2, Read_Compact_Lat, Row_Lat[1], cancel); }
void Frm_CvLL1::Frm_CvLL1_Lon2_Validate(bool& cancel) { Take_Entry(Lon2, Read_Compact_Lon, Row_Lon[1], cancel); }
void Frm_CvLL1::Frm_CvLL1_Lat3_Validate(bool& cancel) { Take_Entry(Lat3, Read_Dms_Lat, Row_Lat[2], cancel); }
void Frm_CvLL1::Frm_CvLL1_Lon3_Validate(bool& cancel) { Take_Entry(Lon3, Read_Dms_Lon, Row_Lon[2], cancel); }

void Frm_CvLL1::Frm_CvLL1_Cmd_Clc_Click() {
    if (OptClc(0).Value()) {
        RLat1.SetCaption(Com_Format_Lat_Dms(Row_Lat[0]));
        RLon1.SetCaption(Com_Format_Lon_Dms(Row_Lon[0]));
        RLat1A.SetCaption(Com_Format_Lat_Dm(Row_Lat[0]));
        RLon1A.SetCaption(Com_Format_Lon_Dm(Row_Lon[0]));
    }
    if (OptClc(1).Value()) {
        RLat2.SetCaption(Com_Format_Lat_Dms(Row_Lat[1]));
        RLon2.SetCaption(Com_Format_Lon_Dms(Row_Lon[1]));
        RLat2A.SetCaption(SYST_To_Text(Round_6(Row_Lat[1])));
        RLon2A.SetCaption(SYST_To_Text(Round_6(Row_Lon[1])));
    }
    if (OptClc(2).Value()) {
        RLat3.SetCaption(SYST_To_Text(Round_6(Row_Lat[2])));
        RLon3.SetCaption(SYST_To_Text(Round_6(Row_Lon[2])));
        RLat3A.SetCaption(Com_Format_Lat_Dm(Row_Lat[2]));
        RLon3A.SetCaption(Com_Format_Lon_Dm(Row_Lon[2]));
    }
}

void Frm_CvLL1::Frm_CvLL1_Cmd_Cancel_Click() { Unload(); }

// The help file was never written.
void Frm_CvLL1::Frm_CvLL1_Cmd_Help_Click() {}

Frm_CvLL1& Frm_CvLL1_Window() {
    static Frm_CvLL1 window;
    return window;
}

void Frm_CvLL1_Show_Modal() {
    // The stored values live only as long as the window.
    plat::Show_Modal(Frm_CvLL1_Window(), plat::Loaded_Copy::Force_Unload);
}
