// mofuran-sim: plays days of the real game on the virtual back end with an automatic player, in worker processes,
// and prints what happened, or the machine's odds sheet. The save files live in a folder of their own; the real
// ones are never touched.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>

#include "platform/sim/sim_backend.h"
#include "tools/sim/odds_sheet.h"
#include "tools/sim/sheet_plot.h"
#include "tools/sim/sim_run.h"
#include "tools/sim/sim_workers.h"

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--help" || std::string(argv[i]) == "-h") {
      std::printf("%s", kSimUsage);
      return 0;
    }
  }
  SimOptions options;
  std::string error;
  if (!ParseSimOptions(argc, argv, &options, &error)) {
    std::fprintf(stderr, "mofuran-sim: %s\n%s", error.c_str(), kSimUsage);
    return 2;
  }
  std::ofstream trace;
  if (!options.trace.empty()) {
    trace.open(options.trace);
    if (!trace) {
      std::fprintf(stderr, "mofuran-sim: cannot write %s\n", options.trace.c_str());
      return 1;
    }
  }
  try {
    std::ostream* traceTo = trace.is_open() ? &trace : nullptr;
    std::optional<OddsSheet> sheet;
    std::string figures;
    if (options.sheet) {
      sheet = RunSheet(options, traceTo);
      figures = options.json ? SheetJson(*sheet) : SheetText(*sheet);
    } else {
      const SimResult r = RunSim(options, traceTo);
      figures = options.json ? ResultJson(r) : ResultText(r);
    }
    if (trace.is_open()) {
      trace.close();
      if (!trace) throw std::runtime_error("cannot write " + options.trace);
    }
    std::printf("%s\n", figures.c_str());
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
      throw std::runtime_error(std::string("cannot write the figures: ") + std::strerror(errno));
    if (sheet && !options.plot.empty() && !DrawSheet(*sheet, options.plot))
      throw std::runtime_error("cannot write " + options.plot);
    return 0;
  } catch (const SimInterrupted& e) {
    // Its workers are stopped and its temporary folders gone: the program ends as the signal would have ended it.
    std::fprintf(stderr, "mofuran-sim: stopped by signal %d; nothing was saved\n", e.signal);
    std::signal(e.signal, SIG_DFL);
    std::raise(e.signal);
  } catch (const SimStuck& e) {
    std::fprintf(stderr, "mofuran-sim: the game stopped moving %s\n", e.what());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "mofuran-sim: %s\n", e.what());
  }
  return 1;
}
