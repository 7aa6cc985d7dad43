// Environment switches and reserved device names: where diagnostics and records go,
// and how records end. None of them changes a value the run computes.
#include <signal.h>

#include <gtest/gtest.h>

#include "support/run_boxpaint.h"

namespace {

const char kMesh[] = "3 2 2\n0 0 100\n10 10 10\n10 10\n10 10\n";
const char kBlocks[] = "0\n1\n10 30 0 10 80 100 7\n";
// A mesh whose last width is not a number: message 59 while reading unit 1.
const char kBadMesh[] = "3 2 2\n0 0 100\n10 10 10\n10 10\n1x 10\n";
const std::vector<std::string> kValues = {" 0.000E+00", " 0.000E+00", " 7.000E+00", " 7.000E+00",
                                          " 7.000E+00", " 7.000E+00", " 0.000E+00", " 0.000E+00",
                                          " 0.000E+00", " 0.000E+00", " 0.000E+00", " 0.000E+00"};
const std::vector<std::string> kUsage = {" Usage: boxpaint  mesh boxpaint.inp outmodel",
                                         " For a sample input file type : boxpaint -inp"};
const char kListingHeader[] =
    "Image              PC        Routine            Line        Source             \n";
const char kWarning96[] =
    "forrtl: warning (96): F_UFMTENDIAN environment variable was ignored:erroneous syntax";

// Every switch, so that the environment the tests run in cannot change them.
const std::vector<std::string> kAllSwitches = {"FOR_DISABLE_STACK_TRACE",
                                               "FOR_FORCE_STACK_TRACE",
                                               "FOR_ENABLE_VERBOSE_STACK_TRACE",
                                               "TBK_ENABLE_VERBOSE_STACK_TRACE",
                                               "FOR_DIAGNOSTIC_LOG_FILE",
                                               "FOR_DISABLE_DIAGNOSTIC_DISPLAY",
                                               "FORT0",
                                               "f77_dump_flag",
                                               "decfort_dump_flag",
                                               "FOR_NOERROR_DIALOGS",
                                               "FOR_IGNORE_EXCEPTIONS",
                                               "FOR_FMT_TERMINATOR",
                                               "FOR_PRINT"};

std::string joined(const std::vector<std::string>& records, const std::string& terminator) {
  std::string text;
  for (const std::string& record : records) text += record + terminator;
  return text;
}

size_t occurrences(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

// A directory with the mesh and block files, and runs in it with chosen switches.
struct Workspace {
  TempDir dir;
  Workspace(const std::string& mesh = kMesh, const std::string& blocks = kBlocks) {
    dir.write("mesh.txt", mesh);
    dir.write("blocks.inp", blocks);
  }
  RunResult run(std::vector<std::string> args, std::vector<std::string> switches,
                RunOptions options = {}) const {
    options.args = std::move(args);
    options.setEnv = std::move(switches);
    options.unsetEnv = kAllSwitches;
    options.directory = dir.path();
    return runBoxpaint(options);
  }
  RunResult model(std::vector<std::string> switches, const std::string& modelName = "model.txt",
                  RunOptions options = {}) const {
    return run({"mesh.txt", "blocks.inp", modelName}, std::move(switches), std::move(options));
  }
  std::string read(const std::string& name) const { return readFile(dir.file(name)); }
  std::string badMeshLine() const {
    return "forrtl: severe (59): list-directed I/O syntax error, unit 1, file " +
           dir.file("mesh.txt") + "\n";
  }
};

struct ListingCase {
  const char* name;
  std::vector<std::string> switches;
  bool listing;
};

void PrintTo(const ListingCase& c, std::ostream* out) {
  *out << c.name;
}

class ListingSwitchTest : public testing::TestWithParam<ListingCase> {};

TEST_P(ListingSwitchTest, SevereMessageHasListingOnlyWhenSwitchesAllow) {
  Workspace ws(kBadMesh);
  RunResult run = ws.model(GetParam().switches);
  EXPECT_EQ(run.status, 59);
  if (GetParam().listing) {
    EXPECT_EQ(run.err.substr(0, run.err.find('\n') + 1), ws.badMeshLine());
    EXPECT_EQ(run.err.find(kListingHeader), ws.badMeshLine().size());
  } else {
    EXPECT_EQ(run.err, ws.badMeshLine());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Switches, ListingSwitchTest,
    testing::Values(ListingCase{"unset", {}, true},
                    ListingCase{"disabledYes", {"FOR_DISABLE_STACK_TRACE=yes"}, false},
                    ListingCase{"disabledDigits", {"FOR_DISABLE_STACK_TRACE=007"}, false},
                    ListingCase{"disableZero", {"FOR_DISABLE_STACK_TRACE=0"}, true},
                    ListingCase{"disableNotTrue", {"FOR_DISABLE_STACK_TRACE=2x"}, true},
                    ListingCase{"disableEmpty", {"FOR_DISABLE_STACK_TRACE="}, true},
                    ListingCase{"forceWins",
                                {"FOR_DISABLE_STACK_TRACE=1", "FOR_FORCE_STACK_TRACE=True"},
                                true}),
    [](const testing::TestParamInfo<ListingCase>& info) { return info.param.name; });

TEST(ListingSwitchTest, ForcedListingFollowsAWarningToo) {
  Workspace ws;
  RunResult plain = ws.model({"FOR_FMT_TERMINATOR=cr"});
  EXPECT_EQ(plain.err, std::string(kWarning96) + "\n");
  RunResult forced = ws.model({"FOR_FMT_TERMINATOR=cr", "FOR_FORCE_STACK_TRACE=y"});
  EXPECT_EQ(forced.status, 0);
  EXPECT_EQ(forced.err.find(std::string(kWarning96) + "\n" + kListingHeader), 0u);
}

TEST(ListingSwitchTest, VerboseFormReplacesTheHeaderWithFrameBlocks) {
  for (const char* name : {"FOR_ENABLE_VERBOSE_STACK_TRACE", "TBK_ENABLE_VERBOSE_STACK_TRACE"}) {
    Workspace ws(kBadMesh);
    RunResult run = ws.model({std::string(name) + "=1"});
    EXPECT_EQ(run.status, 59) << name;
    std::string heading = "\n\nTraceback symbolic or hex stack dump follows:\n\n";
    EXPECT_EQ(run.err.substr(0, ws.badMeshLine().size() + heading.size() + 18),
              ws.badMeshLine() + heading + "--------- Frame # ")
        << name;
    EXPECT_EQ(run.err.find(kListingHeader), std::string::npos) << name;
    for (const char* line : {"\nImage: ", "\nPC: ", "\nRoutine name: ", "\nSource file: ",
                             "\nLine number: ", "--------- Frame # 2 "}) {
      EXPECT_NE(run.err.find(line), std::string::npos) << name << ": " << line;
    }
  }
}

TEST(DiagnosticFileTest, LogFileGainsMessageAndListingWhileDisplayIsOff) {
  Workspace ws(kBadMesh);
  ws.dir.write("log.txt", "earlier\n");
  RunResult run = ws.model({"FOR_DIAGNOSTIC_LOG_FILE=log.txt", "FOR_DISABLE_DIAGNOSTIC_DISPLAY=1"});
  EXPECT_EQ(run.status, 59);
  EXPECT_EQ(run.err, "");
  std::string log = ws.read("log.txt");
  EXPECT_EQ(log.find("earlier\n" + ws.badMeshLine() + kListingHeader), 0u);
}

TEST(DiagnosticFileTest, LogFileCopiesEveryDiagnosticOfTheRun) {
  Workspace ws(kBadMesh);
  RunResult run = ws.model({"FOR_DIAGNOSTIC_LOG_FILE=log.txt", "FOR_FMT_TERMINATOR=LF;",
                            "FOR_DISABLE_DIAGNOSTIC_DISPLAY=no"});
  EXPECT_EQ(run.status, 59);
  EXPECT_EQ(run.err, ws.read("log.txt"));
  EXPECT_EQ(run.err.find(std::string(kWarning96) + "\n" + ws.badMeshLine()), 0u);
}

TEST(DiagnosticFileTest, Fort0TakesStandardErrorFromTheFirstDiagnosticOn) {
  Workspace ws(kBadMesh);
  ws.dir.write("errors.txt", "earlier\n");
  RunResult run = ws.model({"FORT0=errors.txt", "FOR_FMT_TERMINATOR=cr"});
  EXPECT_EQ(run.status, 59);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(
      ws.read("errors.txt")
          .find("earlier\n" + std::string(kWarning96) + "\n" + ws.badMeshLine() + kListingHeader),
      0u);
}

TEST(DiagnosticFileTest, Fort0IsNotOpenedWithoutADiagnostic) {
  Workspace ws;
  RunResult run = ws.model({"FORT0=errors.txt"});
  EXPECT_EQ(run.status, 0);
  EXPECT_FALSE(fileExists(ws.dir.file("errors.txt")));
}

struct TerminatorCase {
  const char* name;
  const char* value;
  const char* inputEnd;    // line end of the mesh and block files
  const char* modelEnd;    // record end of the model file (unit 2)
  const char* consoleEnd;  // record end of the usage text (unit -1)
};

void PrintTo(const TerminatorCase& c, std::ostream* out) {
  *out << c.name;
}

class TerminatorSwitchTest : public testing::TestWithParam<TerminatorCase> {};

std::string withLineEnds(const std::string& text, const std::string& end) {
  std::string converted;
  for (char c : text) converted += c == '\n' ? end : std::string(1, c);
  return converted;
}

TEST_P(TerminatorSwitchTest, RecordsEndAsChosenForEachUnit) {
  const TerminatorCase& c = GetParam();
  Workspace ws(withLineEnds(kMesh, c.inputEnd), withLineEnds(kBlocks, c.inputEnd));
  RunResult model = ws.model({std::string("FOR_FMT_TERMINATOR=") + c.value});
  EXPECT_EQ(model.status, 0);
  EXPECT_EQ(model.err, "");
  EXPECT_EQ(ws.read("model.txt"), joined(kValues, c.modelEnd));
  RunResult usage = ws.run({}, {std::string("FOR_FMT_TERMINATOR=") + c.value});
  EXPECT_EQ(usage.out, joined(kUsage, c.consoleEnd));
}

INSTANTIATE_TEST_SUITE_P(
    Values, TerminatorSwitchTest,
    testing::Values(TerminatorCase{"empty", "", "\n", "\r\n", "\r\n"},
                    TerminatorCase{"lf", "LF", "\n", "\n", "\n"},
                    TerminatorCase{"crlf", "CRLF", "\n", "\r\n", "\r\n"},
                    // Under CR the input files end their lines with CR as well.
                    TerminatorCase{"cr", "CR", "\r", "\r", "\r"},
                    TerminatorCase{"modelOnly", "LF:2", "\n", "\n", "\r\n"},
                    TerminatorCase{"listedDefaultCr", "2", "\n", "\r", "\r\n"},
                    TerminatorCase{"defaultAndList", "LF;CR:2", "\n", "\r", "\n"},
                    TerminatorCase{"crInputsOnly", "CR:1", "\r", "\r\n", "\r\n"},
                    TerminatorCase{"rangeByValue", "CRLF;LF:0001-02", "\n", "\n", "\r\n"}),
    [](const testing::TestParamInfo<TerminatorCase>& info) { return info.param.name; });

TEST(TerminatorSwitchTest, MalformedValueWarnsOnceAndTheRunGoesOn) {
  for (const char* value : {"cr", "LF;", "CR:", "LF:2,", "LF:2-", "LF:3-2"}) {
    Workspace ws;
    RunResult run = ws.model({std::string("FOR_FMT_TERMINATOR=") + value});
    EXPECT_EQ(run.status, 0) << value;
    EXPECT_EQ(firstLine(run.err), kWarning96) << value;
    EXPECT_EQ(occurrences(run.err, "warning (96)"), 1u) << value;
    EXPECT_EQ(ws.read("model.txt"), joined(kValues, "\r\n")) << value;
  }
}

TEST(TerminatorSwitchTest, SixtyFifthEntryMakesTheValueMalformed) {
  std::string list = "LF:2";
  for (int unit = 3; unit <= 65; ++unit) {
    // Appended piece by piece: "," + text makes GCC 12 at -O3 warn falsely.
    list += ',';
    list += std::to_string(unit);
  }
  Workspace ws;
  RunResult sixtyFour = ws.model({"FOR_FMT_TERMINATOR=" + list});
  EXPECT_EQ(sixtyFour.err, "");
  EXPECT_EQ(ws.read("model.txt"), joined(kValues, "\n"));
  RunResult sixtyFive = ws.model({"FOR_FMT_TERMINATOR=" + list + ",66"});
  EXPECT_EQ(firstLine(sixtyFive.err), kWarning96);
  EXPECT_EQ(ws.read("model.txt"), joined(kValues, "\r\n"));
}

TEST(PrintSwitchTest, ConsoleOutputReplacesTheNamedFile) {
  Workspace ws;
  std::string old;
  for (int i = 0; i < 100; ++i) old += "old line " + std::to_string(i) + "\n";
  ws.dir.write("print.txt", old);
  RunResult usage = ws.run({}, {"FOR_PRINT=print.txt"});
  EXPECT_EQ(usage.status, 0);
  EXPECT_EQ(usage.out, "");
  EXPECT_EQ(usage.err, "");
  EXPECT_EQ(ws.read("print.txt"), joined(kUsage, "\r\n"));
  // A new file is created; the terminator switch applies to it as the console.
  RunResult sample = ws.run({"-inp"}, {"FOR_PRINT=sample.txt", "FOR_FMT_TERMINATOR=LF"});
  EXPECT_EQ(sample.out, "");
  std::string text = ws.read("sample.txt");
  EXPECT_EQ(text.size(), 264u - 8u);
  EXPECT_EQ(text.find('\r'), std::string::npos);
}

TEST(PrintSwitchTest, UnopenablePrintFileEndsWithDiagnosticForTheConsoleUnit) {
  Workspace ws;
  RunResult empty = ws.run({}, {"FOR_PRINT="});
  EXPECT_EQ(empty.status, 29);
  EXPECT_EQ(empty.out, "");
  EXPECT_EQ(firstLine(empty.err), "forrtl: severe (29): file not found, unit -1, file ");
  EXPECT_NE(empty.err.find(kListingHeader), std::string::npos);
  RunResult directory = ws.run({}, {"FOR_PRINT=."});
  EXPECT_EQ(directory.status, 9);
  EXPECT_EQ(
      firstLine(directory.err),
      "forrtl: severe (9): permission to access file denied, unit -1, file " + ws.dir.path() + "/");
}

struct DeviceCase {
  const char* name;
  const char* model;
  const char* out;  // which stream gets the records, or "" for none
};

void PrintTo(const DeviceCase& c, std::ostream* out) {
  *out << c.name;
}

class ReservedNameRunTest : public testing::TestWithParam<DeviceCase> {};

TEST_P(ReservedNameRunTest, ModelFileNamedAfterADeviceCreatesNoFile) {
  const DeviceCase& c = GetParam();
  Workspace ws;
  RunResult run = ws.model({}, c.model);
  EXPECT_EQ(run.status, 0);
  std::string records = joined(kValues, "\r\n");
  EXPECT_EQ(run.out, std::string(c.out) == "out" ? records : "");
  EXPECT_EQ(run.err, std::string(c.out) == "err" ? records : "");
  EXPECT_FALSE(fileExists(ws.dir.file(c.model)));
}

INSTANTIATE_TEST_SUITE_P(
    Names, ReservedNameRunTest,
    testing::Values(DeviceCase{"con", "CON", "out"}, DeviceCase{"conTxt", "con.txt", "out"},
                    DeviceCase{"conout", "Conout$", "out"}, DeviceCase{"user", "user", "out"},
                    DeviceCase{"err", "err", "err"}, DeviceCase{"nul", "NUL", ""},
                    DeviceCase{"nulDat", "nul.dat", ""}),
    [](const testing::TestParamInfo<DeviceCase>& info) { return info.param.name; });

TEST(ReservedNameRunTest, NamesThatOnlyLookLikeDevicesAreFiles) {
  Workspace ws;
  for (const char* name : {"err.log", "lpt1.txt", "user.dat", "conout$.txt", "PRN", "COM1"}) {
    RunResult run = ws.model({}, name);
    EXPECT_EQ(run.status, 0) << name;
    EXPECT_EQ(run.out, "") << name;
    EXPECT_EQ(ws.read(name), joined(kValues, "\r\n")) << name;
  }
  RunResult inFolder = ws.model({}, "./con");
  EXPECT_EQ(inFolder.out, "");
  EXPECT_EQ(ws.read("con"), joined(kValues, "\r\n"));
}

TEST(ReservedNameRunTest, ConsoleInputDeviceReadsStandardInput) {
  Workspace ws;
  RunResult run = ws.run({"CONIN$", "blocks.inp", "model.txt"}, {}, {.input = kMesh});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(ws.read("model.txt"), joined(kValues, "\r\n"));
}

TEST(DumpFlagTest, SevereMessageEndsTheProcessWithAbort) {
  for (const char* flag : {"f77_dump_flag=1", "decfort_dump_flag=Yes"}) {
    Workspace ws(kBadMesh);
    RunResult run = ws.model({flag, "FOR_DISABLE_STACK_TRACE=1"});
    EXPECT_EQ(run.termSignal, SIGABRT) << flag;
    EXPECT_EQ(run.status, -1) << flag;
    EXPECT_EQ(run.err, ws.badMeshLine()) << flag;
  }
  Workspace ws(kBadMesh);
  RunResult off = ws.model({"f77_dump_flag=0", "decfort_dump_flag=no"});
  EXPECT_EQ(off.termSignal, 0);
  EXPECT_EQ(off.status, 59);
}

TEST(DumpFlagTest, ModelFileHoldsItsWholeRecordsBeforeTheAbort) {
  Workspace ws;
  // The file-size limit refuses the 9th record of 12 bytes: message 38 on unit 2.
  // SIGABRT ignored by whoever started the process still ends it.
  RunResult run = ws.model({"f77_dump_flag=1"}, "model.txt",
                           {.ignoredSignals = {SIGABRT}, .fileSizeLimit = 100});
  EXPECT_EQ(run.termSignal, SIGABRT);
  EXPECT_EQ(firstLine(run.err),
            "forrtl: severe (38): error during write, unit 2, file " + ws.dir.file("model.txt"));
  EXPECT_EQ(ws.read("model.txt"),
            joined(std::vector<std::string>(kValues.begin(), kValues.begin() + 8), "\r\n"));
}

TEST(DumpFlagTest, ProcessorExceptionAbortsAfterHandingOverWholeRecords) {
  // A model of 8 million cells, written long enough to be interrupted part-way.
  Workspace ws("200 200 200\n0 0 1000\n200*1\n200*1\n200*1\n", kBlocks);
  RunResult run = ws.model(
      {"decfort_dump_flag=1"}, "model.txt",
      {.signalWhenFile = ws.dir.file("model.txt"), .signalWhenBytes = 1, .signal = SIGSEGV});
  EXPECT_EQ(run.termSignal, SIGABRT);
  EXPECT_EQ(firstLine(run.err), "forrtl: severe (157): Program Exception - access violation");
  std::string model = ws.read("model.txt");
  EXPECT_GT(model.size(), 0u);
  EXPECT_EQ(model.size() % 12, 0u);
}

TEST(DumpFlagTest, WarningDoesNotAbort) {
  Workspace ws;
  RunResult run = ws.model({"f77_dump_flag=1", "FOR_FMT_TERMINATOR=cr"});
  EXPECT_EQ(run.termSignal, 0);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(ws.read("model.txt"), joined(kValues, "\r\n"));
}

}  // namespace
