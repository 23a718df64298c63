// The converter's command line: what to do, with which files and options.
// Pure; wrong usage is reported as a German text (exit status 2).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "convert/conversion.h"

namespace zl {

struct CommandLine {
  enum Mode {
    Convert,  // INPUT OUTPUT
    Import,   // --open FILE: into a new vocabulary file, then the trainer
    Help,     // --help
    Wrong,    // `error` says why
  } mode = Wrong;
  std::string input;
  std::string output;
  Format to = Format::Ltk;  // from --to, else from OUTPUT's extension
  ConversionOptions options;
  std::string error;
};

// The meaning of the arguments after the program's name. Options may come
// before, between and after the files, as "--to csv" or "--to=csv"; "--"
// ends them.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

}  // namespace zl
