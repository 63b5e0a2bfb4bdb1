// The Wolfgang Lorenz test suite's Plus/4 port, one test per program: the real binary loads
// NAME-plus4.prg under the real ROMs and types RUN; the program checks one instruction
// against what the NMOS chip computes and reports through the debug port, $00 when it
// passed and $FF when it failed, which becomes the binary's exit status.
#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "program_run.h"
#include "support/real_firmware.h"

namespace {

// The suite's programs that apply to this machine, as its list.txt names them.
// clang-format off
constexpr const char* programs[] = {
    "adca", "adcax", "adcay", "adcb", "adcix", "adciy", "adcz", "adczx", "alrb", "ancb", "anda",
    "andax", "anday", "andb", "andix", "andiy", "andz", "andzx", "aneb", "arrb", "asla", "aslax",
    "asln", "aslz", "aslzx", "asoa", "asoax", "asoay", "asoix", "asoiy", "asoz", "asozx", "axsa",
    "axsix", "axsz", "axszy", "bccr", "bcsr", "beqr", "bita", "bitz", "bmir", "bner", "bplr",
    "branchwrap", "brkn", "bvcr", "bvsr", "clcn", "cldn", "clin", "clvn", "cmpa", "cmpax", "cmpay",
    "cmpb", "cmpix", "cmpiy", "cmpz", "cmpzx", "cpxa", "cpxb", "cpxz", "cpya", "cpyb", "cpyz", "dcma",
    "dcmax", "dcmay", "dcmix", "dcmiy", "dcmz", "dcmzx", "deca", "decax", "decz", "deczx", "dexn",
    "deyn", "eora", "eorax", "eoray", "eorb", "eorix", "eoriy", "eorz", "eorzx", "inca", "incax",
    "incz", "inczx", "insa", "insax", "insay", "insix", "insiy", "insz", "inszx", "inxn", "inyn",
    "irq", "jmpi", "jmpw", "jsrw", "lasay", "laxa", "laxay", "laxix", "laxiy", "laxz", "laxzy", "ldaa",
    "ldaax", "ldaay", "ldab", "ldaix", "ldaiy", "ldaz", "ldazx", "ldxa", "ldxay", "ldxb", "ldxz",
    "ldxzy", "ldya", "ldyax", "ldyb", "ldyz", "ldyzx", "lsea", "lseax", "lseay", "lseix", "lseiy",
    "lsez", "lsezx", "lsra", "lsrax", "lsrn", "lsrz", "lsrzx", "lxab", "nmi", "nopa", "nopax", "nopb",
    "nopn", "nopz", "nopzx", "oraa", "oraax", "oraay", "orab", "oraix", "oraiy", "oraz", "orazx",
    "phan", "phpn", "plan", "plpn", "rlaa", "rlaax", "rlaay", "rlaix", "rlaiy", "rlaz", "rlazx",
    "rola", "rolax", "roln", "rolz", "rolzx", "rora", "rorax", "rorn", "rorz", "rorzx", "rraa",
    "rraax", "rraay", "rraix", "rraiy", "rraz", "rrazx", "rtin", "rtsn", "sbca", "sbcax", "sbcay",
    "sbcb-eb", "sbcb", "sbcix", "sbciy", "sbcz", "sbczx", "sbxb", "secn", "sedn", "sein", "shaay",
    "shaiy", "shsay", "shxay", "shyax", "staa", "staax", "staay", "staix", "staiy", "staz", "stazx",
    "stxa", "stxz", "stxzy", "stya", "styz", "styzx", "taxn", "tayn", "tsxn", "txan", "txsn", "tyan",
};
// clang-format on

static_assert(std::size(programs) == 224);

// These lean on the C64: irq and nmi wait for its CIA's interrupts, and branchwrap places
// code at $FFBE, under this machine's KERNAL ROM, and at $FF02, among the TED's registers.
// Here they never report; they only have to leave the machine running.
bool leansOnC64Hardware(const std::string& name) {
    return name == "irq" || name == "nmi" || name == "branchwrap";
}

// Two minutes of machine time (50 frames a second); a program that has not reported by then
// is photographed (F6) before the script quits, so the picture tells the two endings apart.
constexpr const char* budgetScript = "wait 6000\ntap F6\nwait 5\nquit\n";

class LorenzSuite : public BinaryRun, public ::testing::WithParamInterface<const char*> {};

TEST_P(LorenzSuite, ProgramReportsSuccess) {
    REQUIRE_TEST_ROMS(roms);
    REQUIRE_CONFORMANCE(suites);
    const std::string name = GetParam();
    std::vector<Setting> settings = realPlus4Settings(roms);
    settings.push_back({"Sync", 0u});
    settings.push_back({"SoundEmulation", 0u});
    writeSettingsStore(settings);
    script(budgetScript);
    const Outcome outcome = run({suites + "/lorenz/" + name + "-plus4.prg"}, 120);
    const bool reported = !fileExists(dir->file("Output000.bmp"));
    if (leansOnC64Hardware(name)) {
        EXPECT_TRUE(outcome.status == 0 || outcome.status == 255)
            << "status " << outcome.status << outcome.errors;
        return;
    }
    ASSERT_TRUE(reported) << name << " did not report within two minutes of machine time";
    EXPECT_EQ(outcome.status, 0) << name
                                 << (outcome.status == 255 ? " reported a failure" : " did not finish")
                                 << outcome.errors;
}

INSTANTIATE_TEST_SUITE_P(Programs, LorenzSuite, ::testing::ValuesIn(programs), [](const auto& info) {
    std::string name = info.param;
    for (char& c : name)
        if (c == '-') c = '_';
    return name;
});

}  // namespace
