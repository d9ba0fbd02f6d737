// The options the bench's timing programs share: the working folder, the variable files, the
// number of runs and the inputs. Each program reads its own options first and hands every
// other argument to ReadBenchArgument.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace vexor::bench {

struct BenchArguments {
  std::string directory = ".";      // -C DIR
  std::string clientVars;           // --client-vars FILE
  std::string serverVars;           // --server-vars FILE
  int runs = 1;                     // --runs N (the program sets its default before reading)
  std::vector<std::string> inputs;  // every argument that is no option
};

// Reads argv[*i], and its value after it (moving *i on to it), when it is a shared option or an
// input; false for anything else.
inline bool ReadBenchArgument(int argc, char** argv, int* i, BenchArguments* arguments) {
  std::string argument = argv[*i];
  bool hasValue = *i + 1 < argc;
  std::string* value = nullptr;
  if (argument == "-C") value = &arguments->directory;
  if (argument == "--client-vars") value = &arguments->clientVars;
  if (argument == "--server-vars") value = &arguments->serverVars;
  if (value != nullptr && hasValue) {
    *value = argv[++*i];
    return true;
  }
  if (argument == "--runs" && hasValue) {
    arguments->runs = std::atoi(argv[++*i]);
    return true;
  }
  if (value != nullptr || argument.empty() || argument[0] == '-') return false;
  arguments->inputs.push_back(argument);
  return true;
}

// Prints the problem and the usage line; the exit status of a program called wrongly.
inline int BenchUsage(const char* program, const char* problem, const char* usage) {
  std::fprintf(stderr, "%s: %s\nusage: %s %s\n", program, problem, program, usage);
  return 2;
}

}  // namespace vexor::bench
