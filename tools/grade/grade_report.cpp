// The class's results as a page (report.html: one row per program, one column per script, the
// first differing frame shown as expected, got and difference side by side) and as a JUnit file
// (report.xml: one test suite per program, one test case per script), which the CI systems that
// schools use read.
#include <cstdio>
#include <fstream>
#include <map>

#include "grade.h"

namespace grade {

namespace {

std::string escaped(const std::string& text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        // Control characters are not allowed in XML 1.0; a program's output may hold them.
        out += (static_cast<unsigned char>(c) < 0x20 && c != '\n' && c != '\t') ? '?' : c;
    }
  }
  return out;
}

std::string link_to(const fs::path& path, const fs::path& report) {
  return escaped(fs::relative(path, report).generic_string());
}

std::string image(const fs::path& path, const fs::path& report, const char* caption) {
  if (!fs::exists(path)) return "";
  const std::string where = link_to(path, report);
  return "<figure><a href=\"" + where + "\"><img src=\"" + where + "\" alt=\"" + caption +
         "\"></a><figcaption>" + caption + "</figcaption></figure>";
}

std::string cell(const Run& run, const fs::path& report) {
  std::string html =
      run.passed ? "<td class=\"pass\"><b>pass</b>" : "<td class=\"fail\"><b>fail</b>";
  html += "<p>" +
          escaped(run.passed ? std::to_string(run.frames_matched) + " frames match" : run.reason) +
          "</p>";
  if (!run.first_frame.empty()) {
    const std::string number = run.first_frame.substr(run.first_frame.find('-') + 1);
    html += "<div class=\"frames\">" +
            image(run.folder / ("expected-" + number), report, "expected") +
            image(run.folder / "frames" / run.first_frame, report, "got") +
            image(run.folder / ("diff-" + number), report, "difference") + "</div>";
  }
  html += "<p class=\"small\">" + std::to_string(run.corrections) + " correction" +
          (run.corrections == 1 ? "" : "s") + " in the <a href=\"" +
          link_to(run.folder / "log.txt", report) + "\">log</a>; <a href=\"" +
          link_to(run.folder / "output.txt", report) + "\">output</a>; " +
          escaped(run.runner_summary) + "</p></td>";
  return html;
}

}  // namespace

void write_html(const fs::path& report, const std::vector<std::string>& programs,
                const std::vector<std::string>& scripts, const std::vector<Run>& runs) {
  std::map<std::pair<std::string, std::string>, const Run*> table;
  for (const Run& run : runs) table[{run.program, run.script}] = &run;
  int passed_programs = 0;
  std::string rows;
  for (const std::string& program : programs) {
    bool all = true;
    std::string row = "<tr><th>" + escaped(program) + "</th>";
    for (const std::string& script : scripts) {
      const Run& run = *table.at({program, script});
      all = all && run.passed;
      row += cell(run, report);
    }
    passed_programs += all ? 1 : 0;
    rows += row + "</tr>\n";
  }
  std::ofstream page(report / "report.html");
  page << "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
          "<title>EASEL grades</title><style>\n"
          "body{font-family:sans-serif;margin:1em}table{border-collapse:collapse}"
          "td,th{border:1px solid #999;padding:.4em;vertical-align:top;text-align:left}"
          ".pass{background:#e6f4e6}.fail{background:#fbe3e3}.small{font-size:80%;color:#444}"
          ".frames{display:flex;gap:.3em}figure{margin:0}figure img{width:150px;"
          "image-rendering:pixelated;border:1px solid #bbb}figcaption{font-size:75%}\n"
          "</style></head><body>\n<h1>EASEL grades</h1>\n<p>"
       << passed_programs << " of " << programs.size() << " programs pass every script.</p>\n"
       << "<table><tr><th>program</th>";
  for (const std::string& script : scripts) page << "<th>" << escaped(script) << "</th>";
  page << "</tr>\n" << rows << "</table>\n</body></html>\n";
}

void write_junit(const fs::path& report, const std::vector<std::string>& programs,
                 const std::vector<Run>& runs) {
  int failures = 0;
  for (const Run& run : runs) failures += run.passed ? 0 : 1;
  std::ofstream xml(report / "report.xml");
  xml << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites name=\"easel-grade\" tests=\""
      << runs.size() << "\" failures=\"" << failures << "\">\n";
  for (const std::string& program : programs) {
    int tests = 0, failed = 0;
    double seconds = 0;
    std::string cases;
    for (const Run& run : runs) {
      if (run.program != program) continue;
      ++tests;
      seconds += run.seconds;
      char time[32];
      std::snprintf(time, sizeof time, "%.3f", run.seconds);
      cases += "    <testcase classname=\"" + escaped(program) + "\" name=\"" +
               escaped(run.script) + "\" time=\"" + time + "\"";
      if (run.passed) {
        cases += "/>\n";
        continue;
      }
      ++failed;
      cases += ">\n      <failure message=\"" + escaped(run.reason) + "\">" +
               escaped(run.runner_summary) + "</failure>\n    </testcase>\n";
    }
    char time[32];
    std::snprintf(time, sizeof time, "%.3f", seconds);
    xml << "  <testsuite name=\"" << escaped(program) << "\" tests=\"" << tests << "\" failures=\""
        << failed << "\" errors=\"0\" time=\"" << time << "\">\n"
        << cases << "  </testsuite>\n";
  }
  xml << "</testsuites>\n";
}

}  // namespace grade
