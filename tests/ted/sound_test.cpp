// The voices as the host mixer hears them: each channel's rate and attenuation
// after the register writes.
#include "ted/sound.h"

#include "host/configuration.h"
#include "machine_fixture.h"
#include "shell/sound_output.h"

namespace {

constexpr int32_t silent = -10000;
constexpr int32_t attenuation[9] = {-10000, -4200, -3600, -3200, -2700, -2200, -1800, -1500, -1400};

class Sound : public PoweredMachine {
protected:
    void SetUp() override {
        PoweredMachine::SetUp();
        emulatorConfig.soundEmulation = 1;
        for (int c = 1; c <= 3; ++c) {
            fake.channels[c].exists = true;
            fake.channels[c].volume = silent;
        }
        setSoundSwitch(true);
        ted.sound.control = ted.sound.currentVolume = 0;
        ted.sound.voice1Freq = ted.sound.voice2Freq = 0;
    }
    // The $FF11 write as the TED makes it: the byte is stored, then the sound reacts.
    void control(uint8_t value) {
        memory.ram[0xFF11] = value;
        writeSoundControl(value);
    }
    // The channel as the host plays it, once the voices have been taken over.
    static const FakeSoundChannel& channel(int c) {
        playVoices();
        return fake.channels[c];
    }
};

struct RateCase {
    uint16_t freq;
    uint32_t rate;  // 0: the voice falls silent
};
void PrintTo(const RateCase& r, std::ostream* os) { *os << "freq " << r.freq; }
class Voice1Rate : public Sound, public ::testing::WithParamInterface<RateCase> {};

TEST_P(Voice1Rate, PlaysAtThirtyTwoTimesTheTedFrequencyUpToRegister1019) {
    control(0x18);
    uint32_t before = channel(1).frequency;
    ted.sound.voice1Freq = GetParam().freq;
    updateVoice1();
    if (GetParam().rate == 0) {
        EXPECT_EQ(channel(1).volume, silent);
        EXPECT_EQ(channel(1).frequency, before);
    } else {
        EXPECT_EQ(channel(1).volume, -1400);
        EXPECT_EQ(channel(1).frequency, GetParam().rate);
    }
}
INSTANTIATE_TEST_SUITE_P(Frequencies, Voice1Rate,
                         ::testing::Values(RateCase{0, 3495}, RateCase{512, 6991}, RateCase{912, 31960},
                                           RateCase{1000, 149147}, RateCase{1015, 397727},
                                           RateCase{1019, 715908}, RateCase{1020, 0}, RateCase{1023, 0}));

TEST_F(Sound, RegisterWritesStartVoice1AtTheLowestTone) {
    writeMemory(0xFF11, 0x18);
    writeMemory(0xFF0E, 0x00);
    writeMemory(0xFF12, 0x00);
    EXPECT_EQ(channel(1).volume, -1400);
    EXPECT_EQ(channel(1).frequency, 3495u);
}

TEST_F(Sound, EachVolumeNibbleGivesItsAttenuationAndNineToFifteenActAsEight) {
    for (uint8_t nibble = 1; nibble < 16; ++nibble) {
        control(0x10);
        control(static_cast<uint8_t>(0x10 | nibble));
        EXPECT_EQ(channel(1).volume, attenuation[nibble > 8 ? 8 : nibble]) << int(nibble);
    }
    control(0x10);
    EXPECT_EQ(channel(1).volume, silent);
}

TEST_F(Sound, Voice2PlaysSquareOrNoiseAndSilencesTheOther) {
    ted.sound.voice2Freq = 0;
    control(0x28);  // square
    EXPECT_EQ(channel(2).volume, -1400);
    EXPECT_EQ(channel(2).frequency, 3495u);
    EXPECT_EQ(channel(3).volume, silent);
    control(0x68);  // noise wins over square, at half the rate
    EXPECT_EQ(channel(2).volume, silent);
    EXPECT_EQ(channel(3).volume, -1400);
    EXPECT_EQ(channel(3).frequency, 3495u / 2);
    control(0x08);  // neither
    EXPECT_EQ(channel(2).volume, silent);
    EXPECT_EQ(channel(3).volume, silent);
}

TEST_F(Sound, NoiseOutOfRangeKeepsItsRateWhileSquareFallsSilent) {
    ted.sound.voice2Freq = 100;
    control(0x48);
    uint32_t rate = channel(3).frequency;
    ted.sound.voice2Freq = 1021;
    updateVoice2();
    EXPECT_EQ(channel(3).frequency, rate);
    EXPECT_EQ(channel(3).volume, -1400);
    control(0x28);
    EXPECT_EQ(channel(2).volume, silent);
}

TEST_F(Sound, VolumeChangeKeepsOutOfRangeSquaresSilentButNotTheNoise) {
    control(0x38);  // voice 1 and the voice 2 square at volume 8
    ted.sound.voice1Freq = ted.sound.voice2Freq = 1023;
    updateVoice1();
    updateVoice2();
    ASSERT_EQ(channel(1).volume, silent);
    ASSERT_EQ(channel(2).volume, silent);
    control(0x34);
    EXPECT_EQ(channel(1).volume, silent);
    EXPECT_EQ(channel(2).volume, silent);
    control(0x54);  // noise instead of the square
    control(0x58);
    EXPECT_EQ(channel(3).volume, -1400);
    ted.sound.voice1Freq = ted.sound.voice2Freq = 0;
    control(0x38);
    updateVoice1();
    updateVoice2();
    control(0x34);
    EXPECT_EQ(channel(1).volume, attenuation[4]);
    EXPECT_EQ(channel(2).volume, attenuation[4]);
}

struct DigiCase {
    uint8_t value, volume, channels, level;
};
void PrintTo(const DigiCase& d, std::ostream* os) { *os << "value " << int(d.value); }
class DigitalMode : public Sound, public ::testing::WithParamInterface<DigiCase> {};

TEST_P(DigitalMode, IsRecordedAndLeavesEveryChannelAsItWas) {
    control(0x18);
    ted.sound.voice1Freq = 0;
    updateVoice1();
    playVoices();
    auto before = fake.channels;
    control(GetParam().value);
    EXPECT_EQ(ted.sound.digiVolume, GetParam().volume);
    EXPECT_EQ(ted.sound.digiChannels, GetParam().channels);
    EXPECT_EQ(ted.sound.digiLevel, GetParam().level);
    EXPECT_EQ(ted.sound.control, 0x18);
    for (int c = 1; c <= 3; ++c) {
        EXPECT_EQ(channel(c).volume, before[c].volume);
        EXPECT_EQ(channel(c).frequency, before[c].frequency);
    }
}
INSTANTIATE_TEST_SUITE_P(Values, DigitalMode,
                         ::testing::Values(DigiCase{0xE5, 5, 2, 5}, DigiCase{0x95, 5, 1, 5},
                                           DigiCase{0xF3, 3, 3, 6}, DigiCase{0x8F, 8, 0, 0}));

TEST_F(Sound, SoundSwitchOffSilencesEveryLaterVolumeAndOnRestoresThem) {
    setSoundSwitch(false);
    control(0x18);
    EXPECT_EQ(channel(1).volume, silent);
    setSoundSwitch(true);
    control(0x17);
    EXPECT_EQ(channel(1).volume, -1500);
}

TEST_F(Sound, NothingIsPlayedWhenSoundEmulationIsOffOrTheChannelIsMissing) {
    emulatorConfig.soundEmulation = 2;
    control(0x78);
    EXPECT_EQ(ted.sound.currentVolume, 8);
    for (int c = 1; c <= 3; ++c) EXPECT_EQ(channel(c).volume, silent);
    emulatorConfig.soundEmulation = 1;
    fake.channels[1].exists = false;
    control(0x18);
    EXPECT_EQ(channel(1).volume, silent);
}

TEST_F(Sound, MenusSilenceTheChannelsAndGiveBackTheirVolumes) {
    control(0x38);
    muteSound();
    for (int c = 1; c <= 3; ++c) EXPECT_EQ(channel(c).volume, silent);
    restoreSound();
    EXPECT_EQ(channel(1).volume, -1400);
    EXPECT_EQ(channel(2).volume, -1400);
    EXPECT_EQ(channel(3).volume, silent);
}

}  // namespace
