#include "tool_run_support.h"

#include <cairo.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace junkyard::tooltest {

std::string slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

pid_t startTool(const std::string& program, const std::vector<std::string>& args, int outFd, int errFd,
                bool withDisplay) {
  // Everything the child needs is made before fork: it only redirects and execs.
  std::vector<std::string> strings{program};
  strings.insert(strings.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& s : strings) argv.push_back(s.data());
  argv.push_back(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    const int in = open("/dev/null", O_RDONLY);
    if (in < 0) _exit(127);
    dup2(in, 0);
    dup2(outFd, 1);
    dup2(errFd, 2);
    if (!withDisplay) unsetenv("DISPLAY");
    execv(argv[0], argv.data());
    _exit(127);
  }
  return pid;
}

RunResult runTool(const std::string& program, const std::vector<std::string>& args, bool withDisplay) {
  // Output goes to files rather than pipes so a chatty child can never block.
  TempDir capture;
  const std::string outPath = (capture / "stdout").string();
  const std::string errPath = (capture / "stderr").string();
  RunResult result;
  const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (out < 0 || err < 0) {
    if (out >= 0) close(out);
    if (err >= 0) close(err);
    return result;
  }
  const pid_t pid = startTool(program, args, out, err, withDisplay);
  close(out);
  close(err);
  int status = 0;
  if (pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  result.out = slurp(outPath);
  result.err = slurp(errPath);
  return result;
}

void expectRefused(const std::string& program, const BadRun& run) {
  SCOPED_TRACE(run.name);
  const RunResult r = runTool(program, run.args, run.withDisplay);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find(run.mentions), std::string::npos) << r.err;
  EXPECT_EQ(r.out, "");
}

std::string badRunName(const ::testing::TestParamInfo<BadRun>& info) { return info.param.name; }

bool readPng(const std::filesystem::path& path, Picture& picture) {
  cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
  const bool ok = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
  if (ok) {
    cairo_surface_flush(surface);
    picture.width = cairo_image_surface_get_width(surface);
    picture.height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* bytes = cairo_image_surface_get_data(surface);
    picture.pixels.clear();
    for (int y = 0; bytes && y < picture.height; ++y) {
      const auto* row = reinterpret_cast<const uint32_t*>(bytes + static_cast<long>(y) * stride);
      picture.pixels.insert(picture.pixels.end(), row, row + picture.width);
    }
  }
  cairo_surface_destroy(surface);
  return ok;
}

}  // namespace junkyard::tooltest
