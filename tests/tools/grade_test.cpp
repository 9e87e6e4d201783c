// easel-grade run as a program on a small class: a model answer records the expected frames; a
// right program passes, a wrong one fails with its first differing frame shown in the page and
// the JUnit file; under --sandbox a program cannot write outside its folder, see the expected
// frames or reach the network; bad input ends with one line and status 2.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/files.h"

namespace {

namespace fs = std::filesystem;

struct Result {
  int status = -1;
  std::string out;
};

class Grade : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(dir_.empty());
    fs::create_directories(dir_ / "scripts");
    write_file(dir_ / "scripts" / "clicks.scr",
               "EASEL_MOUSE(-100, 0);\nEASEL_MOUSE(100, 0);\nEASEL_KBD(113);\n");
    write_file(dir_ / "scripts" / "dots.scr", "EASEL_MOUSE(0, 50);\nEASEL_KBD(113);\n");
  }

  // easel-grade with these arguments, its stdout and stderr together.
  Result grade(const std::string& arguments, const std::string& environment = "") {
    const std::string command = environment + " '" + EASEL_GRADE + "' --scripts '" +
                                (dir_ / "scripts").string() + "' --expect '" +
                                (dir_ / "expect").string() + "' " + arguments + " >'" +
                                (dir_ / "output").string() + "' 2>&1";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, read_file(dir_ / "output")};
  }
  std::string report(const char* name) { return (dir_ / name).string(); }

  TemporaryDirectory dir_{"grade-test"};
};

TEST_F(Grade, ModelRecordsAndTheClassIsJudgedInPageAndJUnit) {
  ASSERT_EQ(grade(std::string("--record ") + STUDENT).status, 0);
  ASSERT_TRUE(fs::exists(dir_ / "expect" / "clicks" / "frame-000002.png"));

  const Result result =
      grade("--jobs 2 --report " + report("report") + " " + STUDENT + " " + EXAMPLES + "/paint");
  EXPECT_EQ(result.status, 1) << result.out;
  EXPECT_NE(result.out.find("1 of 2 programs pass all 2 scripts; 2 of 4 runs failed"),
            std::string::npos)
      << result.out;

  const std::string xml = read_file(dir_ / "report" / "report.xml");
  EXPECT_NE(xml.find("<testsuites name=\"easel-grade\" tests=\"4\" failures=\"2\">"),
            std::string::npos)
      << xml;
  EXPECT_NE(xml.find("<testcase classname=\"student\" name=\"clicks\""), std::string::npos);
  EXPECT_NE(xml.find("<failure message=\"frame-000000.png differs in"), std::string::npos) << xml;

  // The page shows the wrong program's first differing frame three ways, by relative links.
  const std::string html = read_file(dir_ / "report" / "report.html");
  EXPECT_NE(html.find("1 of 2 programs pass every script"), std::string::npos);
  for (const char* picture :
       {"runs/paint/clicks/expected-000000.png", "runs/paint/clicks/frames/frame-000000.png",
        "runs/paint/clicks/diff-000000.png"}) {
    EXPECT_NE(html.find(std::string("src=\"") + picture + "\""), std::string::npos) << picture;
    EXPECT_TRUE(fs::exists(dir_ / "report" / picture)) << picture;
  }

  // All right is status 0.
  EXPECT_EQ(grade("--report " + report("again") + " " + STUDENT).status, 0);
}

TEST_F(Grade, SandboxKeepsTheProgramInItsFolderAndOffTheNetwork) {
  ASSERT_EQ(grade(std::string("--record ") + STUDENT).status, 0);
  const int listener = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), size), 0);
  ASSERT_EQ(listen(listener, 8), 0);
  getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);
  const fs::path outside = dir_ / "outside";
  const std::string probes[] = {
      "PROBE_WRITE='" + outside.string() + "'",
      "PROBE_READ='" + (dir_ / "expect" / "clicks").string() + "'",
      "PROBE_PORT=" + std::to_string(ntohs(address.sin_port)),
  };
  for (const std::string& probe : probes) {
    // Out of the box, each reach succeeds (and so the program draws red and fails) ...
    EXPECT_EQ(grade("--report " + report("open") + " " + STUDENT, probe).status, 1) << probe;
    fs::remove(outside);
    // ... in it, none does.
    const Result boxed = grade(std::string("--sandbox --memory ") + SANDBOX_MEMORY_MB +
                                   " --report " + report("boxed") + " " + STUDENT,
                               probe);
    EXPECT_EQ(boxed.status, 0) << probe << "\n" << boxed.out;
    EXPECT_FALSE(fs::exists(outside)) << probe;
  }
  close(listener);
}

TEST_F(Grade, BadInputIsOneLineAndStatusTwo) {
  ASSERT_EQ(grade(std::string("--record ") + STUDENT).status, 0);
  const struct {
    std::string arguments, says;
  } cases[] = {
      {"--jobs 0 " + std::string(STUDENT), "--jobs: 0 is not a whole number of at least 1"},
      {"/nonexistent/program", "/nonexistent/program is not an executable file"},
      {"", "no PROGRAM to grade"},
  };
  for (const auto& c : cases) {
    const Result result = grade(c.arguments);
    EXPECT_EQ(result.status, 2) << c.arguments;
    EXPECT_EQ(result.out.find("easel-grade: " + c.says + "\n"), 0u) << result.out;
  }
  write_file(dir_ / "scripts" / "new.scr", "EASEL_KBD(113);\n");
  const Result missing = grade(STUDENT);
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.out.find("no expected frames for new.scr"), std::string::npos) << missing.out;
  fs::remove_all(dir_ / "scripts");
  fs::create_directories(dir_ / "scripts");
  EXPECT_EQ(grade(STUDENT).status, 2);
}

}  // namespace
