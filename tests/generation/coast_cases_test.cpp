// Coastlines that touch the grid, read back from the written mask: islands with a vertex on or
// beside a grid line, islands near one another, lines with land or water between them, lines
// along grid lines and map edges. Each must give the water drawn with sound pieces.
#include "generation/mask_writer.h"
#include "polygon_fixture.h"
#include "support/scenery_check.h"
#include "writer_test_env.h"

namespace {

using namespace gentest;
using scenery::Drawn;
using scenery::Px;

constexpr double Area_Px = 64;

class CoastCases : public Area_Writer_Test {
protected:
    // A map of cols x rows LOD13 areas of 64 pixels, its north-west corner on the corner of
    // LOD13 area (29, 29) of LOD8 cell (383, 127).
    static void Aligned(int cols, int rows) {
        polytest::Calibrate();
        Proj_Lat_NW = Map_Lat_North = 45 + 3 * Lod13_Height;
        Proj_Lon_NW = Map_Lon_West = -3 * Lod13_Width;
        Proj_Lat_SE = Map_Lat_South = Proj_Lat_NW - rows * Lod13_Height;
        Proj_Lon_SE = Map_Lon_East = Proj_Lon_NW + cols * Lod13_Width;
        Proj_Px_SE_X = static_cast<int32_t>(cols * Area_Px);
        Proj_Px_SE_Y = static_cast<int32_t>(rows * Area_Px);
        Map_Px_East = cols * Area_Px;
        Map_Px_South = rows * Area_Px;
    }

    // Generates the shapes and returns what is wrong with the coast pieces and the mask read back.
    std::string Faults(const std::vector<Drawn>& drawn) {
        Line_Count = 1;
        Work_Tables_Reset_All();
        host().boxes.clear();
        fs::remove(app / "Tessaline$_Poly_LWM.asm");
        fs::remove(app / "Tessaline$_Lines.ASM");
        scenery::Draw_Project(drawn);
        API_Write_Lwm_Asm();
        std::string faults;
        for (const auto& box : host().boxes) faults += "box: " + box.prompt.substr(0, 60) + "\n";
        const scenery::Report r = scenery::Check_Scenery(app, drawn);
        for (const scenery::Finding& f : r.Findings) faults += f.Text + "\n";
        if (r.Areas_Compared == 0) faults += "no area compared\n";
        return faults;
    }
};

std::vector<Px> Closed(std::vector<Px> pts) {
    pts.push_back(pts.front());
    return pts;
}

Drawn Coast(std::vector<Px> pts, bool land_on_right = false) {
    Drawn d{Drawn::Coastline, std::move(pts)};
    d.Land_On_Right = land_on_right;
    return d;
}

TEST_F(CoastCases, IslandsTouchingOrBesideAGridLineKeepTheSeaRoundThem) {
    Aligned(5, 5);
    // Its vertex at x 191.7548 snaps onto the border at x 192: the area east stays sea.
    EXPECT_EQ(Faults({Coast(Closed({{188.5967, 104.3404}, {191.7548, 104.5186}, {189.8059, 103.0088}}))}), "");
    // A vertex exactly on the grid line x 128.
    EXPECT_EQ(Faults({Coast(Closed({{128, 150}, {160, 135}, {173, 165}}))}), "");
    EXPECT_EQ(Faults({Coast(Closed({{83, 150}, {128, 135}, {96, 165}}))}), "");
    // A vertex snapped onto an area's corner, a mainland south: the area is the sea round the
    // island, though the outline of its pieces can run round the whole border.
    Aligned(6, 6);
    EXPECT_EQ(Faults({Coast({{391.6283, 282.9655}, {362.8294, 288.1120}, {334.3147, 286.8267}, {319.8806, 279.0619},
                             {282.3944, 273.9054}, {247.2002, 266.6684}, {223.9105, 262.2898}, {202.7791, 262.6963},
                             {175.8479, 268.0303}, {160.9141, 274.5005}, {132.1077, 274.9627}, {118.0933, 268.6092},
                             {103.3706, 263.3116}, {81.6705, 263.3139}, {52.8979, 269.9374}, {21.5716, 265.7422},
                             {3.5494, 273.5417}, {-25.6014, 272.2970}}),
                      Coast(Closed({{202.6599, 246.1954}, {203.5229, 233.4453}, {202.5661, 225.7334}, {191.9423, 192},
                                    {181.0315, 213.9143}, {174.7735, 219.3123}, {176.3945, 256}, {176.8787, 243.7811},
                                    {180.4646, 254.6858}, {196.6237, 255.9408}})),
                      Coast(Closed({{350.0764, 232.0313}, {353.3295, 217.6322}, {322.6572, 233.2330}, {320.1147, 256}}))}),
              "");
    // A vertex on the grid line x 192: the overlay loses a hole touching its polygon's outline.
    EXPECT_EQ(Faults({Coast(Closed({{198.7547, 363.5526}, {192, 339.7632}, {217.7737, 354.9940}}), true)}), "");
    // An island touching a grid line beside a mainland's coast: the rounded water meets its own side.
    EXPECT_EQ(Faults({Coast({{222, -20}, {224, 150}, {222, 404}}),
                      Coast(Closed({{215.6626, 355.8167}, {215.2219, 346.9275}, {209.3188, 320.0573}}))}),
              "");
    // A sliver of an island touching a grid line, its rounded sides crossing.
    EXPECT_EQ(Faults({Coast(Closed({{251.3644, 160.8268}, {250.7861, 165.7421}, {246.8178, 192.0275}}), true)}), "");
    // An island inside one area, then one a column west whose area box covers it; both orders.
    const Drawn inside = Coast(Closed({{140, 140}, {146, 134}, {160, 133}, {175, 138}, {180, 150}, {170, 165},
                                       {155, 170}, {143, 160}}));
    const Drawn west = Coast(Closed({{80, 140}, {110, 135}, {100, 170}}));
    EXPECT_EQ(Faults({inside, west}), "");
    EXPECT_EQ(Faults({west, inside}), "");
}

TEST_F(CoastCases, TwoLinesGiveTheLandOrTheWaterBetweenThem) {
    Aligned(6, 6);
    // A spit: water north of the first line, south of the second, land between them.
    EXPECT_EQ(Faults({Coast({{-10, 150}, {200, 140}, {400, 152}}, true), Coast({{-10, 170}, {200, 175}, {400, 168}})}),
              "");
    // A channel: the water between them.
    EXPECT_EQ(Faults({Coast({{-10, 150}, {200, 140}, {400, 152}}), Coast({{-10, 170}, {200, 175}, {400, 168}}, true)}),
              "");
}

TEST_F(CoastCases, LinesAcrossAColumnOrFromAMapEdgeCloseAsDrawn) {
    Aligned(6, 5);
    // Wandering east over the grid line x 128 and back, never nearer it than 2.4 pixels.
    EXPECT_EQ(Faults({Coast({{110, 0}, {118, 24}, {136, 48}, {150, 72}, {135, 96}, {117, 120}, {112, 144}, {110, 320}})}),
              "");
    // From the south edge up to the north edge, the sea east.
    EXPECT_EQ(Faults({Coast({{281.2694, 320}, {183.0228, 0}})}), "");
}

TEST_F(CoastCases, LinesBesideOrAlongAGridLineAtTheMapsEdge) {
    // The 2 x 2 LOD8 map, 31.25 pixels to an area: the grid line y 750 is within half a position.
    EXPECT_EQ(Faults({Coast({{-100, 760}, {1974.25, 746.23}, {2007.39, 771.83}, {2100, 771.8}}, true)}), "");
    EXPECT_EQ(Faults({Coast({{2100, 771.8}, {2007.39, 771.83}, {1974.25, 746.23}, {-100, 760}})}), "");
    EXPECT_EQ(Faults({Coast({{-100, 760}, {1979, 748}, {2100, 772}}, true)}), "");
    // An inlet of 0.02 pixel and a ring under a pixel wide: no box, no spike left.
    EXPECT_EQ(Faults({Coast({{-100, 110}, {45, 112}, {45.01, 130}, {45.02, 112}, {2100, 112}})}), "");
    // Its tip on the grid line y 125, where the line would be parted in two along the inlet.
    EXPECT_EQ(Faults({Coast({{-100, 110}, {45, 112}, {45.01, 125}, {45.02, 112}, {2100, 112}})}), "");
    EXPECT_EQ(Faults({Coast(Closed({{40, 40}, {55, 40.4}, {40, 40.8}}))}), "");
}

TEST_F(CoastCases, SpikesThinnerThanAPositionGoWithTheSnap) {
    Aligned(6, 6);
    // Land on the right, a spike of 0.2 pixel running 38 pixels into the land and one of 0.06
    // pixel across the grid line x 320 into the sea, in an area whose border the line touches.
    EXPECT_EQ(Faults({Coast({{297.4601, -14.2777}, {319.9533, 19.3881}, {303.4497, 38.9658}, {320, 77.0791},
                             {317.0397, 96.0385}, {279.1330, 96.1363}, {317.0092, 96.2341}, {315.0816, 108.5794},
                             {313.5812, 108.9786}, {339.3449, 109.0102}, {313.3435, 109.0419}, {312.3295, 109.3117},
                             {314.8529, 110.0440}, {314.3943, 112.9812}, {315.4722, 154.7605}, {320, 182.1763},
                             {327.0165, 207.5447}, {323.8812, 244.4368}, {329.1780, 288.9732}, {336.7069, 324.2111},
                             {337.4733, 341.1452}, {319.8768, 372.8039}, {324.9237, 393.9155}, {316.6820, 410.8405}},
                            true)}),
              "");
    // An island whose north shore doubles back on itself a hundredth of a pixel apart, out to
    // the grid line x 256 and beyond it: once snapped the two shores would cross.
    EXPECT_EQ(Faults({Coast({{254.8877, 409.8033}, {252.4867, 378.4029}, {257.3999, 353.2832}, {249.6377, 336.8043},
                             {257.6279, 312.4893}, {265.0639, 281.5291}, {256, 252.1103}, {269.7034, 229.0237},
                             {272.1667, 192.8727}, {270.6247, 179.2391}, {268.6926, 155.2040}, {266.9059, 126.5840},
                             {273.2084, 112.4254}, {276.0800, 75.1387}, {255.9193, 44.5068}, {272.5015, 0.1202},
                             {278.9072, -15.1138}},
                            true),
                      Coast(Closed({{225.4422, 51.2219}, {256.0708, 51.5719}, {230.7131, 51.2838}, {256, 64},
                                    {226.1821, 56.2046}, {224.7294, 54.1245}}),
                            true)}),
              "");
}

TEST_F(CoastCases, ASpikeTheSnapLeavesOnAGridLineGoes) {
    Aligned(6, 6);
    // The island's vertex on the grid line y 128 and its neighbour a third of a position from it:
    // once snapped, a side goes along the line and back.
    EXPECT_EQ(Faults({Coast({{-24.6733, 100.0953}, {3.4193, 100.0078}, {23.7550, 95.5112}, {43.3429, 97.1263},
                             {63.6047, 89.5451}, {77.8244, 81.6788}, {128, 74.5046}, {141.0154, 68.8324},
                             {175.6018, 61.9166}, {202.9830, 64.7154}, {229.7469, 63.9803}, {255.3060, 65.9198},
                             {282.8441, 63.3055}, {320.0696, 66.8990}, {355.2020, 64.9668}, {392.5210, 60.1862}}),
                      Coast(Closed({{58.2292, 132.1704}, {62.2574, 131.4669}, {59.9490, 128}, {50.3743, 128.3144}}))}),
              "");
}

}  // namespace

TEST_F(CoastCases, PiecesOfALakeRoundedBesideAGridLineStayApart) {
    // Each lake's pieces, rounded alone, lay a corner over a neighbour's side: a neck a sixth of
    // a pixel wide along y 256, and a corner a fifth of a position from a side along x 256. An
    // island's neck ends a third of a position beyond x 192, where the cut left it.
    const std::vector<std::vector<Drawn>> drawings = {
        {Drawn{Drawn::Water, {{332.32304304905585, 242.77902441389318}, {351.41317564110585, 246.83377372545792}, {346.0736479996301, 271.9727608297809},
                              {326.8609704072327, 268.4949646478344}, {329.5635430094118, 255.77100433588825}, {329.28475618899176, 255.7117899400363},
                              {326.63931801833365, 268.16675609488465}, {305.1334987903141, 263.5989142902781}, {310.3266735021915, 239.14897023562034},
                              {331.9871217971148, 242.98880417513905}, {329.3416836264567, 255.44377032998742}, {329.62047044687677, 255.50298472583935}}}},
        {Drawn{Drawn::Land, {{182.94889452076885, 192.0334953723093}, {189.42297524761426, 192}, {197.5548138866991, 169.43363751622664},
                             {213.57740737590302, 191.90444231310374}, {192.0261284098387, 188.71249248352063}, {256.0597880485953, 198.2431380400045},
                             {192, 214.41575782973467}, {202.36911724419878, 219.49456508140457}, {191.88305616405452, 214.43395061584297},
                             {182.5448757222693, 201.20040808902272}}}},
        {Drawn{Drawn::Land, {{195.92793661984498, 247.9720180401881}, {191.92149324596002, 246.86271877183842}, {188.91238305750318, 257.730687335244},
                             {185.96922334972447, 252.39976983447215}, {191.00913377243342, 234.19718348635638}, {195.11365154015778, 235.33363747603292},
                             {192.10454135170093, 246.20160603943853}, {196.1109847255859, 247.3109053077882}, {197.25745192136, 243.17022295908416},
                             {213.00877947521104, 248.61405011146306}, {210.8112075768974, 256.55099519187695}, {194.78146942407088, 252.11270038889214}}}},
    };
    Aligned(6, 6);
    for (const std::vector<Drawn>& drawn : drawings) EXPECT_EQ(Faults(drawn), "");
}

TEST_F(CoastCases, AHookInsideAConvexPieceIsNotSwallowed) {
    // A hook a third of a pixel wide, once snapped, lies wholly inside the piece the chord search
    // meets first; the chord crosses no side but leaves its corner outside the water.
    Aligned(6, 6);
    EXPECT_EQ(Faults({Drawn{Drawn::Coastline,
                            {{219.3069, 393.3459}, {223.5829, 384}, {219.4024, 334.9697}, {220.343, 332.1483}, {219.0471, 332.1483},
                             {219.0471, 339.0684}, {218.7223, 339.0684}, {218.7223, 331.8235}, {220.4513, 331.8235}, {227.3516, 311.1255},
                             {226.7512, 308.0127}, {222.3755, 308.0127}, {222.3755, 308.2845}, {222.328, 308.2845}, {222.328, 307.9653},
                             {226.7421, 307.9653}, {225.3904, 300.9572}, {239.9734, 300.9572}, {239.9734, 303.5324}, {240.6775, 303.5324},
                             {240.6775, 300.2532}, {225.2546, 300.2532}, {223.647, 291.918}, {238.223, 291.918}, {238.223, 286.8526},
                             {237.9628, 286.8526}, {237.9628, 291.6579}, {223.5968, 291.6579}, {223.1015, 289.09}, {191.9758, 251.6009},
                             {209.7222, 230.1838}, {191.9819, 211.4993}, {211.711, 189.1815}, {216.5927, 172.3009}, {217.489, 155.3631},
                             {224.9561, 128}, {229.0231, 103.9981}, {230.707, 91.0136}, {233.1594, 91.0136}, {233.1594, 89.657},
                             {233.0362, 89.657}, {233.0362, 90.8904}, {230.723, 90.8904}, {233.8589, 66.7109}, {238.2522, 0},
                             {240.6591, -11.5623}, {247.942, -27.2163}},
                            true}}),
              "");
}

TEST_F(CoastCases, ShoresWithACornerOnAnAreasBorderKeepTheirWater) {
    // The points keep full precision: each case is a corner exactly on, or a hair off, a grid
    // line. An island whose side runs a millionth of a pixel inside the area below; two islands,
    // one with a corner on the area's side and one on its top; a lake's island with a corner on
    // the top of an area whose water comes within a hundred-thousandth of it; an island with
    // corners on two sides of an area that a mainland's crossing leaves a ten-thousandth off; an
    // island with a corner on an area's corner; a mainland's island touching a side of the area
    // beside another island's corner on that area's corner.
    const std::vector<std::vector<Drawn>> drawings = {
        {Coast({{90.60581637367778, 196.90998144501376}, {84.29506528635892, 192}, {80.55271111892273, 192.00000110378707},
                {77.16781084991152, 192}, {83.55401040998015, 190.4608592251429}, {64.11144113581821, 192.6059844125615},
                {90.60581637367778, 196.90998144501376}})},
        {Coast({{241.32989540146647, 271.8314622860688}, {233.0292745357904, 278.59549065186087}, {225.17749985540993, 269.0678813795607},
                {256, 266.4865946179966}, {241.32989540146647, 271.8314622860688}},
               true),
         Coast({{234.18117194453546, 233.2196056371247}, {209.2346188910642, 236.19016478255418}, {192.1084519539237, 256},
                {223.7793342059916, 254.9702001801849}, {256.0455719874715, 256.1254256293983}, {234.18117194453546, 233.2196056371247}})},
        {Drawn{Drawn::Water, {{147.82441132585157, 273.18390374965884}, {128.09196645074533, 299.00572557522463}, {94.16931969646774, 297.7576948013349},
                              {64, 275.00183806289726}, {79.53111435839688, 254.45017770999738}, {77.33428982198366, 218.96278937755017},
                              {128, 218.6655175865891}, {133.91994496737112, 213.60502614961527}, {144.19808576599127, 234.82877285711652}}},
         Drawn{Drawn::Land, {{127.54342028770319, 256.1947651107822}, {101.03190653850977, 256}, {94.9185254594212, 256.1810125963146},
                             {111.83478124755408, 269.4952743168582}}}},
        {Coast({{134.16406569072365, 402.3962913013598}, {140.87840570098106, 375.686381329218}, {133.29100034325324, 346.7757557684243},
                {139.042112663153, 324.2259961137523}, {132.04506433865362, 301.1156602218425}, {127.98990937736653, 280.66838284326667},
                {128.07095808082317, 267.7024217255438}, {140.8709096929961, 253.7677255495859}, {144.06524328501413, 239.79965117293654},
                {140.37057406893092, 211.26893702001496}, {138.95484719955274, 192}, {139.95408270427362, 156.44716842000636},
                {141.32853828544688, 141.8958889762141}, {144.83417992385478, 120.45277539548631}, {144.51251140087479, 104.05468300517872},
                {138.00841120909493, 67.7547744640212}, {139.54774815090178, 36.52762065486627}, {128, 8.10250683409701},
                {139.0952879092817, -23.54967383764879}}),
         Coast({{255.9454165949934, 128.10388184636335}, {219.60852019772273, 122.86153832906726}, {192, 120.3558962802822},
                {198.96398643485628, 123.3091210573811}, {188.5208641515928, 127.97040498585183}, {192, 128},
                {199.87745403481506, 141.92814132844904}, {192, 151.95750514185423}, {213.3294652997624, 138.0856000435266},
                {255.9454165949934, 128.10388184636335}}),
         Coast({{173.30595610304118, 64}, {172.79836734057088, 91.18422262835783}, {177.71179895800185, 88.42382848367924},
                {192, 85.91100036272823}, {181.4425261769685, 80.0107926888255}, {177.0176567467454, 78.65825301782561},
                {173.30595610304118, 64}})},
        {Coast({{17.134902120599925, -11.606593315030182}, {0, 5.225114074086491}, {19.163514160869227, 29.350688167779197},
                {23.358413803766204, 50.21657820920302}, {30.853241170102574, 65.93284611200664}, {37.76464127465105, 97.3775896882425},
                {41.08366500711274, 134.0525923029347}, {35.90517892755189, 150.46858723377574}, {35.588402869282874, 192.08211421472348},
                {42.748394343408634, 205.41995299880918}, {44.620541723555974, 242.24215105694546}, {44.71610448888548, 256},
                {42.18199971365651, 288.6582442551593}, {45.75175802817192, 325.42679558404154}, {51.78513555575189, 383.9506690652654},
                {58.731393565544835, 387.81772357891185}, {62.58373687145794, 405.7162010583759}},
               true),
         Coast({{64, 128}, {73.09492414263916, 119.0439965588377}, {62.90183444614977, 132.50617514387224}, {53.87675812199922, 128}, {64, 128}},
               true)},
        {Coast({{173.43695274112892, -10.753108705994787}, {178.42540868447182, 17.36296849659048}, {174.4857384428818, 30.133926020345232},
                {182.32421053841995, 48.52551313686213}, {184.7802350879303, 63.9982427037841}, {187.53328228656147, 64},
                {189.6961520012295, 104.53283175793639}, {183.14171089076387, 124.67986999027129}, {181.9307679518244, 128},
                {177.49683509217738, 192}, {172.63375018380538, 194.47984033275625}, {170.86957151535177, 219.75141299126378},
                {163.71857078826199, 256.0629008812861}, {160.30702699851193, 272.38528085888026}, {162.10626742301773, 289.350186264286},
                {157.98517551483496, 324.2799748890194}, {157.45070260048726, 351.16369389080836}, {157.74091215781286, 375.41404632115007},
                {152.182121278388, 397.0740681722005}},
               true),
         Coast({{192.11530337713106, 202.957327156446}, {218.09288833161094, 228.35244773436722}, {192, 234.26445170490226},
                {192.11530337713106, 202.957327156446}},
               true),
         Coast({{195.4969990184356, 246.09013514870907}, {191.98056688164766, 246.1512261218716}, {192, 256}, {196.46621198730352, 255.95579073041736},
                {192.08285951555882, 255.9403443561937}, {195.4969990184356, 246.09013514870907}}),
         Coast({{210.9843792187616, 160.1764187234099}, {213.09008071324592, 152.57560480960197}, {217.9171728201301, 149.23983778311322},
                {222.15938599951804, 128}, {256, 160.77907665222187}, {220.4797234386765, 160.99334945528727},
                {215.29082871994677, 162.06771813513527}, {210.9843792187616, 160.1764187234099}},
               true)},
    };
    Aligned(6, 6);
    for (const std::vector<Drawn>& drawn : drawings) EXPECT_EQ(Faults(drawn), "");
}
