#include "DocumentTestSupport.h"

#include "catalogue/DocumentGlobals.h"

#include <set>

namespace {

void SetMotor(int modelCode, int rated, int encoder) {
    ModelCode = modelCode;
    RatedSpeed = rated;
    MotorEncoderResolution = encoder;
}

} // namespace

TEST_F(DocumentTest, NewDocumentHoldsEveryDefault) {
    SeriesCode = 4;
    CKeloServoDoc doc(&host);
    doc.Value(DocCn, 5) = 77;
    doc.Value(DoconE, 17) = 77;
    doc.m_Names = {"a"};
    doc.m_MemoryImage[1][3] = 9;
    doc.m_Un[96] = 5;
    ASSERT_TRUE(doc.OnNewDocument());
    for (int g = 0; g < DocGroupCount; ++g)
        for (int n = 1; n <= DocGroupSize(DocGroup(g)); ++n)
            ASSERT_EQ(doc.Value(DocGroup(g), n), doc.Default(DocGroup(g), n)) << DocParamCode(DocGroup(g), n);
    for (int n = 1; n <= 24; ++n)
        EXPECT_EQ(doc.m_HnSecond[n - 1], doc.Value(DocHn, n));
    EXPECT_TRUE(doc.m_Names.empty());
    EXPECT_EQ(doc.m_MemoryImage[1][3], 0);
    EXPECT_EQ(doc.m_Un[96], 0);
    EXPECT_EQ(doc.m_DocumentState, 1);
    EXPECT_EQ(host.comparisonClears, 1);
    // A few constants of the table, as they reach the values.
    EXPECT_EQ(doc.Value(DocCn, 98), 3000);
    EXPECT_EQ(doc.Value(DocTn, 15), -100);
    EXPECT_EQ(doc.Value(DocPn3, 4), 1);
    EXPECT_EQ(doc.Value(DocEC, 12), 100);
    EXPECT_EQ(doc.Value(DoconC, 7), 43439);
    EXPECT_EQ(doc.Value(DoconE, 11), 1);
    EXPECT_EQ(doc.Value(DocPn3, 7), MotorEncoderResolution / 1000);
}

TEST_F(DocumentTest, Pn347DefaultCopyFollowsTheReset) {
    CKeloServoDoc doc(&host);
    doc.OnNewDocument();
    EXPECT_EQ(doc.m_Pn347DefaultCopy, 5000);
    doc.Default(DocPn3, 47) = 1234;
    EXPECT_EQ(doc.m_Pn347DefaultCopy, 5000);
    doc.ResetPn3Defaults();
    EXPECT_EQ(doc.m_Pn347DefaultCopy, 1234);
    EXPECT_EQ(doc.Value(DocPn3, 47), 1234);
}

TEST_F(DocumentTest, NewDocumentAfterForeignSeriesRestoresMotorWords) {
    CKeloServoDoc doc(&host);
    SetMotor(0x2257, 2000, 8388608);
    DriveCapacityIndex = 7;
    doc.OnNewDocument();
    EXPECT_EQ(ModelCode, 0x2257); // nothing foreign loaded yet

    ForeignSeriesLoadedFlag = true;
    doc.OnNewDocument();
    EXPECT_EQ(ModelCode, 0x1121);
    EXPECT_EQ(RatedSpeed, 3000);
    EXPECT_EQ(DriveCapacityIndex, 2500);
    EXPECT_EQ(doc.Default(DocCn, 30), 0x1121);
}

TEST_F(DocumentTest, DigitalInputsByControlMode) {
    struct Case {
        int mode;
        int series;
        int hn[16];
        int outputs[4]; // Hn619..Hn622
    } cases[] = {
        {1, 4, {1, 2, 3, 260, 261, 6, 14, 8, 9, 10, 11, 12, 1, 2, 3, 5}, {21, 22, 17, 23}},
        {2, 4, {1, 2, 3, 260, 261, 6, 7, 13, 9, 20, 21, 12, 1, 2, 7, 6}, {21, 22, 17, 23}},
        {4, 4, {1, 2, 3, 260, 261, 27, 28, 26, 9, 10, 11, 12, 1, 2, 8, 5}, {21, 22, 17, 23}},
        {8, 4, {1, 2, 22, 23, 24, 25, 30, 18, 9, 11, 12, 12, 1, 2, 8, 6}, {21, 22, 17, 23}},
        {9, 4, {1, 2, 22, 23, 24, 25, 30, 31, 9, 18, 29, 12, 6, 2, 14, 13}, {12, 11, 10, 9}},
        {9, 3, {1, 2, 22, 23, 24, 25, 30, 31, 9, 18, 29, 12, 6, 2, 4, 13}, {12, 11, 10, 9}},
        {12, 4, {0, 2, 3, 260, 261, 21, 9, 0, 0, 0, 0, 0, 1, 2, 7, 6}, {21, 22, 17, 23}},
        {13, 3, {0, 0, 3, 260, 261, 21, 9, 0, 0, 0, 0, 0, 1, 2, 4, 6}, {21, 22, 17, 23}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " series " << c.series);
        SeriesCode = c.series;
        CKeloServoDoc doc(&host);
        doc.Value(DocCn, 1) = c.mode;
        doc.SetDioDefaultsByControlMode();
        for (int n = 1; n <= 16; ++n)
            EXPECT_EQ(doc.Default(DocHn, n), c.hn[n - 1]) << "Hn6" << n;
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(doc.Default(DocHn, 19 + i), c.outputs[i]);
        EXPECT_EQ(doc.Default(DocHn, 17), c.series == 3 ? 4032 : 0);
    }
}

TEST_F(DocumentTest, ControlModeComesFromTheDriveWhileConnected) {
    SeriesCode = 4;
    CKeloServoDoc doc(&host);
    host.connected = true;
    DriveControlMode = 9;
    doc.Value(DocCn, 1) = 1;
    doc.SetDioDefaultsByControlMode();
    EXPECT_EQ(doc.Default(DocHn, 19), 12);

    // A mode above 13 leaves the inputs alone, but series 3 still sets Hn617 and Hn618.
    SeriesCode = 3;
    DriveControlMode = 14;
    doc.Default(DocHn, 18) = 55;
    doc.SetDioDefaultsByControlMode();
    EXPECT_EQ(doc.Default(DocHn, 19), 12);
    EXPECT_EQ(doc.Default(DocHn, 17), 4032);
    EXPECT_EQ(doc.Default(DocHn, 18), 0);
}

TEST_F(DocumentTest, ControlModeDefaultAndLimitsBySeries) {
    struct Case {
        int series;
        bool connected;
        int driveMode;
        int cn001, min, max;
    } cases[] = {
        {3, false, 0, 13, 6, 13}, {3, false, 10, 13, 6, 13}, {3, true, 10, 10, 6, 13},
        {4, false, 0, 2, 0, 14},  {4, false, 5, 5, 0, 14},   {6, false, 0, 13, 13, 13},
        {9, true, 0, 13, 13, 13},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "series " << c.series << " mode " << c.driveMode);
        SeriesCode = c.series;
        DriveControlMode = c.driveMode;
        host.connected = c.connected;
        CKeloServoDoc doc(&host);
        EXPECT_EQ(doc.Default(DocCn, 1), c.cn001);
        EXPECT_EQ(doc.Minimum(DocCn, 1), c.min);
        EXPECT_EQ(doc.Maximum(DocCn, 1), c.max);
    }
}

TEST_F(DocumentTest, SpeedRulesFollowRatedSpeedAndLinearMotors) {
    SeriesCode = 4;
    SetMotor(0x1157, 3000, 131072);
    CKeloServoDoc doc(&host);
    EXPECT_EQ(doc.Default(DocCn, 7), 1000);
    EXPECT_EQ(doc.Default(DoconC, 14), 1000);
    EXPECT_EQ(doc.Default(DocCn, 61), 2000);
    EXPECT_EQ(doc.Default(Doctn, 28), 2000);
    EXPECT_EQ(doc.Default(DocSn, 18), 3060);
    EXPECT_EQ(doc.Default(DocSn, 29), 0);
    EXPECT_EQ(doc.Maximum(DocCn, 7), 4500);
    EXPECT_EQ(doc.Minimum(DocSn, 1), -4500);
    EXPECT_EQ(doc.Minimum(DocTn, 15), -4500);
    EXPECT_EQ(doc.Maximum(DocPn3, 18), 3000);

    // Offline the rules read the document's own motor code.
    doc.Value(DocCn, 30) = 0x3157;
    doc.InitSeriesDefaults();
    doc.InitDependentDefaults();
    EXPECT_EQ(doc.Default(DocCn, 7), 1000);
    EXPECT_EQ(doc.Maximum(DocCn, 7), 3000);
    EXPECT_EQ(doc.Minimum(DocSn, 1), -3000);
    EXPECT_EQ(doc.Default(DocSn, 18), 3000);
    EXPECT_EQ(doc.Default(DocSn, 29), 200);
    // Tn114 is not narrowed for a linear motor.
    EXPECT_EQ(doc.Maximum(DocTn, 14), 4500);
}

TEST_F(DocumentTest, EncoderResolutionCapsCn005) {
    for (auto [encoder, cn005] :
         {std::pair{10000, 2500}, {131072, 32768}, {262144, 32768}, {8388608, 32768}}) {
        MotorEncoderResolution = encoder;
        CKeloServoDoc doc(&host);
        EXPECT_EQ(doc.Default(DocCn, 5), cn005) << encoder;
        EXPECT_EQ(doc.Default(DocEn, 12), encoder / 1000);
        EXPECT_EQ(doc.Maximum(DocPn3, 54), encoder);
        EXPECT_EQ(doc.Minimum(DocPn3, 21), -(encoder - 1));
    }
}

TEST_F(DocumentTest, TorqueDefaultsFromTheDrive) {
    SeriesCode = 4;
    host.connected = true;
    host.registers[0x0C1C] = -250; // 0x0C1B fails
    CKeloServoDoc doc(&host);
    EXPECT_EQ(doc.Default(DocCn, 10), 300);
    EXPECT_EQ(doc.Default(DocCn, 11), -250);
    EXPECT_EQ(doc.Default(DocCn, 56), 300);
    EXPECT_EQ(doc.Default(DocCn, 57), -250);
    EXPECT_EQ(doc.Minimum(DocCn, 10), 0);
    EXPECT_EQ(doc.Maximum(DocCn, 10), 300);
    EXPECT_EQ(doc.Minimum(DocCn, 57), -250);
    EXPECT_EQ(ForwardTorqueLimit, 300);

    // Offline the kept values serve.
    host.connected = false;
    ForwardTorqueLimit = 280;
    doc.InitSeriesDefaults();
    EXPECT_EQ(doc.Default(DocCn, 10), 280);
    EXPECT_EQ(doc.Default(DocCn, 11), -250);
}

TEST_F(DocumentTest, MotorDependentDefaults) {
    struct Case {
        int model;
        int cn012, cn031;
    } cases[] = {
        {0x1157, 40, 256},  {0x1555, 60, 0},    {0x1A5A, 200, 0}, {0x1B5D, 0, 0},
        {0x2357, 100, 256}, {0x2657, 200, 256}, {0x2757, 0, 256}, {0xA151, 0, 256},
    };
    SeriesCode = 4;
    for (const Case& c : cases) {
        ModelCode = c.model;
        CKeloServoDoc doc(&host);
        EXPECT_EQ(doc.Default(DocCn, 12), c.cn012) << std::hex << c.model;
        EXPECT_EQ(doc.Default(DocCn, 31), c.cn031) << std::hex << c.model;
        EXPECT_EQ(doc.Default(DocCn, 30), c.model);
    }
    DriveCapacityIndex = 0x9C4; // low nibble 4
    CKeloServoDoc doc(&host);
    EXPECT_EQ(doc.Default(DoconC, 18), 4);
}

// Every default sits inside its limits, except the two the tables give that way on purpose.
TEST_F(DocumentTest, DefaultsLieInsideTheirLimits) {
    for (int series : {3, 4, 5, 6, 7, 8, 9}) {
        SeriesCode = series;
        CKeloServoDoc doc(&host);
        std::set<std::string> outside;
        for (int g = 0; g < DocGroupCount; ++g)
            for (int n = 1; n <= DocGroupSize(DocGroup(g)); ++n) {
                const int d = doc.Default(DocGroup(g), n);
                EXPECT_LE(doc.Minimum(DocGroup(g), n), doc.Maximum(DocGroup(g), n))
                    << DocParamCode(DocGroup(g), n);
                if (d < doc.Minimum(DocGroup(g), n) || d > doc.Maximum(DocGroup(g), n))
                    outside.insert(DocParamCode(DocGroup(g), n));
            }
        EXPECT_EQ(outside, (std::set<std::string>{"Cn046", "onC01"})) << "series " << series;
    }
}

TEST_F(DocumentTest, FindByCode) {
    CKeloServoDoc doc(&host);
    doc.OnNewDocument();
    ASSERT_NE(doc.FindValue("Pn412"), nullptr);
    EXPECT_EQ(doc.FindValue("Pn412"), &doc.Value(DocPn4, 12));
    EXPECT_EQ(doc.FindDefault("onC07"), &doc.Default(DoconC, 7));
    EXPECT_EQ(doc.FindMaximum("MAb16"), &doc.Maximum(DocMAb, 16));
    EXPECT_EQ(doc.FindValue("Tn119"), nullptr);
    EXPECT_EQ(doc.FindValue("Un-05"), nullptr);
    EXPECT_EQ(doc.FindValue("Cn000"), nullptr);
    EXPECT_EQ(doc.FindValue("Cn"), nullptr);
}
