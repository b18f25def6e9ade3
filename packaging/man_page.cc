// man-page LANGUAGE OUT: writes the manual page morva-cli(1) from what morva-cli itself knows, its usage
// text and the settings keys with their places in the window, so that the page never says something the
// program does not do. LANGUAGE is "en" or "ja": the words morva-cli shows in that language (the keys'
// places, the listings' words) are the page's; its prose is English in both.
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>

#include "cli/cli_options.h"
#include "cli/console_text.h"
#include "cli/key_listing.h"
#include "settings/settings_file.h"

namespace {

// Text as roff shows it: backslashes escaped, no line taken for a request, and a place to break the
// line after each Japanese comma and slash, since roff finds none in a run of Japanese text.
std::string Roff(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\\') {
      out += "\\e";
    } else if (c == '-') {
      out += "\\-";
    } else {
      out += c;
    }
    for (std::string_view mark : {"、", "／", "）", "，"}) {
      if (std::string_view(out).ends_with(mark)) out += "\\:";
    }
  }
  if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out.insert(0, "\\&");
  return out;
}

// The lines of the usage text from the one starting with `first` up to the next blank line.
std::string Section(const std::string& usage, std::string_view first) {
  const std::size_t start = usage.find(std::string(first));
  if (start == std::string::npos) return std::string();
  const std::size_t end = usage.find("\n\n", start);
  return usage.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

// A block of the usage text kept as it is laid out.
void Verbatim(std::ostream& out, const std::string& block) {
  out << ".nf\n";
  std::istringstream lines(block);
  for (std::string line; std::getline(lines, line);) out << Roff(line) << "\n";
  out << ".fi\n";
}

}  // namespace

int main(int argc, char** argv) {
  using namespace morva;
  const std::string_view language = argc == 3 ? argv[1] : "";
  if (language != "en" && language != "ja") {
    std::cerr << "usage: man-page en|ja OUT\n";
    return 2;
  }
  const bool english = language == "en";
  const ConsoleText text(english ? UiLanguage::kEnglish : UiLanguage::kJapanese);
  const char* const out_path = argv[2];
  const std::string usage = UsageText(text);
  std::ostringstream page;
  page << ".TH MORVA\\-CLI 1 \"\" \"MORVA " << MORVA_VERSION << "\" \"User Commands\"\n"
       << ".ad l\n"
       << ".SH NAME\n"
       << "morva\\-cli \\- batch file conversion (names, attributes, times, deletion, ID3 tags) from the console\n"
       << ".SH SYNOPSIS\n";
  Verbatim(page, Section(usage, "usage:").substr(std::string_view("usage: ").size()));
  page << ".SH DESCRIPTION\n"
       << "morva\\-cli carries out the conversion jobs of the desktop program\n.BR morva ,\n"
       << "on the same settings file, presets and log. The job comes from the settings file, then a whole-job\n"
       << "preset (\\fB\\-\\-preset\\fR), then every \\fB\\-\\-set\\fR in order.\n"
       << "\\fBmorva\\-cli keys\\fR lists every key with its place in the window;\n"
       << "\\fBmorva\\-cli show\\fR prints the job in force as lines \\fB\\-\\-set\\fR takes.\n"
       << ".PP\nmorva\\-cli keeps no state of its own: the job of one call is not carried to the next.\n"
       << "The settings file and its history of target paths are written only by \\fBrun \\-\\-save\\fR.\n"
       << ".SH COMMANDS\n";
  Verbatim(page, Section(usage, "commands:").substr(std::string_view("commands:\n").size()));
  page << ".PP\n";
  Verbatim(page, Section(usage, "TARGET:"));
  page << ".SH OPTIONS\n";
  Verbatim(page, Section(usage, "options:").substr(std::string_view("options:\n").size()));
  page << ".SH OUTPUT\n";
  const std::string forms = OutputFormsText(text);
  Verbatim(page, forms.substr(forms.find('\n') + 1));
  page << ".SH EXIT STATUS\n";
  const std::string statuses = ExitStatusText();
  Verbatim(page, statuses.substr(statuses.find('\n') + 1));
  page << ".SH FILES\n"
       << "The program directory holds the settings file \\fBmorva.dat\\fR, the presets\n"
       << "(\\fBmorvaset.dat\\fR and the others \\fBmorva\\-cli presets\\fR lists) and the log. It is the\n"
       << "directory of the executable when the program runs from its build tree; an installed program uses\n"
       << "\\fB$XDG_CONFIG_HOME/morva\\fR, or \\fB~/.config/morva\\fR when that variable is not set.\n"
       << "\\fB\\-\\-home\\fR names another one.\n"
       << ".SH SETTINGS KEYS\n"
       << "Each key with its page and label in the window and the values it takes; give one with\n"
       << "\\fB\\-\\-set KEY=VALUE\\fR. Keys of earlier versions are read but never written.\n";
  for (const KeyDescription& key : SettingsKeyDescriptions()) {
    page << ".TP\n.B " << Roff(key.key) << "\n" << Roff(text.Label(KeyPageName(key))) << ": "
         << Roff(text.Label(key.place.label)) << "\n.br\n"
         << Roff(text.Label(key.place.values)) << "\n";
  }
  // A preset of the person's own, and the page of the key table that holds the text replacement's keys.
  const std::string_view preset = english ? "upper" : "大文字";
  const std::string_view grep = english ? "grep 'Replace text'" : "grep 名称文字列置換";
  page << ".SH EXAMPLES\n"
       << ".nf\n"
       << "morva\\-cli \\-\\-set SW_FNM=1 \\-\\-set FNM_IPN_SEL=1 \\-\\-set FNM_IPN2=1 preview ~/photos\n"
       << "morva\\-cli show > job.txt\n"
       << "morva\\-cli log \"$(morva\\-cli runs | tail \\-n 1 | cut \\-f 1)\" | less\n"
       << "morva\\-cli \\-\\-preset " << preset << " \\-\\-json preview ~/photos | jq \\-r 'select(.state == \"fail\") | .source'\n"
       << "morva\\-cli \\-\\-preset " << preset << " \\-0 preview ~/photos | xargs \\-0 \\-n 2 printf '%s \\-> %s\\\\n'\n"
       << "morva\\-cli keys | " << grep << "\n"
       << ".fi\n";

  std::ofstream out(out_path, std::ios::binary);
  out << page.str();
  out.close();
  if (!out) {
    std::cerr << "man-page: cannot write " << out_path << "\n";
    return 1;
  }
  return 0;
}
