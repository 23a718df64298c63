#include "convert/converter.h"

#include "convert/command_line.h"
#include "convert/conversion.h"
#include "convert/texts.h"
#include "platform/paths.h"

namespace zl {

namespace {

using convert_text::fill;

// The name of `path` without its folder and its last extension.
std::string stemOf(const std::string& path) {
  const std::string name = fileNameOf(path);
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

// "Name.ltk" for the first try, then "Name (2).ltk", "Name (3).ltk", ...
std::string candidateName(const std::string& folder, const std::string& stem, int attempt) {
  return folder + stem + (attempt == 1 ? "" : " (" + std::to_string(attempt) + ")") + ".ltk";
}

int convertForTerminal(ConverterServices& services, const CommandLine& line, Printed& printed) {
  const ConversionOutcome outcome = convertFile(services.files, line.input, line.output, line.to, line.options);
  if (outcome.kind != ConversionOutcome::Done) {
    printed.error += convert_text::ProgramName + ": " + outcome.message + "\n";
    if (outcome.kind == ConversionOutcome::Unmappable) printed.error += convert_text::NothingWritten + "\n";
    return 1;
  }
  printed.out += outcome.message + "\n";
  if (!outcome.warning.empty()) printed.error += outcome.warning + "\n";
  return 0;
}

// The folder the new vocabulary file goes into: beside the file, else the
// user's documents folder; "" when neither can be written.
std::string importFolder(ConverterServices& services, const std::string& file) {
  const std::string beside = folderOf(file);
  if (services.files.isWritableFolder(beside)) return beside;
  const std::string documents = services.desktop.folders().documents;
  if (!documents.empty() && services.files.isWritableFolder(documents)) return documents + "/";
  return "";
}

int importForTrainer(ConverterServices& services, const CommandLine& line) {
  const std::string file = services.system.fullPath(line.input);
  const std::string folder = importFolder(services, file);
  if (folder.empty()) {
    services.dialogs.tell(convert_text::ImportTitle, fill(convert_text::NoImportFolder, {folderOf(file)}),
                          MessageIcon::Error);
    return 1;
  }
  ConversionOptions options = line.options;
  options.existing = ExistingFile::Keep;
  static constexpr int kMostNames = 1000;
  for (int attempt = 1; attempt <= kMostNames; ++attempt) {
    const std::string target = candidateName(folder, stemOf(file), attempt);
    if (services.files.status(target).exists) continue;
    ConversionOutcome outcome = convertFile(services.files, file, target, Format::Ltk, options);
    if (outcome.kind == ConversionOutcome::Unmappable && !options.replaceUnmappable) {
      if (!services.dialogs.askYesNo(convert_text::ImportTitle, fill(convert_text::ReplaceQuestion, {outcome.message})))
        return 1;
      options.replaceUnmappable = true;
      outcome = convertFile(services.files, file, target, Format::Ltk, options);
    }
    if (outcome.kind == ConversionOutcome::NameTaken) continue;  // taken meanwhile: the next name
    if (outcome.kind != ConversionOutcome::Done) {
      services.dialogs.tell(convert_text::ImportTitle, outcome.message, MessageIcon::Error);
      return 1;
    }
    if (!outcome.warning.empty())
      services.dialogs.tell(convert_text::ImportTitle, outcome.warning, MessageIcon::Warning);
    const std::string trainer = folderOf(services.system.executablePath()) + TrainerFileName;
    if (!services.system.startProgram(trainer, target, folder)) {
      services.dialogs.tell(convert_text::ImportTitle, fill(convert_text::TrainerDidNotStart, {target}),
                            MessageIcon::Error);
      return 1;
    }
    return 0;
  }
  services.dialogs.tell(convert_text::ImportTitle,
                        fill(convert_text::CannotWrite, {candidateName(folder, stemOf(file), kMostNames), "EEXIST"}),
                        MessageIcon::Error);
  return 1;
}

}  // namespace

int runConverter(ConverterServices& services, const std::vector<std::string>& arguments, Printed& printed) {
  CommandLine line = parseCommandLine(arguments);
  line.options.now = services.now;
  // Half of what is free: the pairs read from a package need room too.
  line.options.unpackLimit = std::min(MaxFileBytes, services.system.availableMemory() / 2);
  switch (line.mode) {
    case CommandLine::Help:
      printed.out += convert_text::Help;
      return 0;
    case CommandLine::Wrong:
      printed.error += convert_text::ProgramName + ": " + line.error + "\n";
      if (line.error != convert_text::Usage) printed.error += convert_text::Usage + "\n";
      return 2;
    case CommandLine::Import:
      return importForTrainer(services, line);
    case CommandLine::Convert:
      break;
  }
  return convertForTerminal(services, line, printed);
}

}  // namespace zl
