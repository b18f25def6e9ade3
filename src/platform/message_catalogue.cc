#include "platform/message_catalogue.h"

namespace morva {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

MessageCatalogue::MessageCatalogue(std::span<const CatalogueEntry> entries) {
  messages_.reserve(entries.size());
  for (const CatalogueEntry& entry : entries) {
    Message message{Parse(entry.source), Parse(entry.translation)};
    if (message.source.empty()) continue;
    const Piece& first = message.source.front();
    if (first.kind == Piece::Kind::kLiteral) {
      by_first_byte_[static_cast<unsigned char>(first.literal.front())].push_back(messages_.size());
    } else if (first.kind == Piece::Kind::kNumber) {
      for (const char c : std::string_view("-0123456789")) {
        by_first_byte_[static_cast<unsigned char>(c)].push_back(messages_.size());
      }
    } else {
      // A source that started with a text argument would match anywhere: never taken.
      continue;
    }
    messages_.push_back(std::move(message));
  }
}

std::vector<MessageCatalogue::Piece> MessageCatalogue::Parse(std::string_view format) {
  std::vector<Piece> pieces;
  const auto add_literal = [&pieces](std::string_view text) {
    if (pieces.empty() || pieces.back().kind != Piece::Kind::kLiteral) {
      pieces.push_back({Piece::Kind::kLiteral, std::string()});
    }
    pieces.back().literal += text;
  };
  std::size_t i = 0;
  while (i < format.size()) {
    const std::string_view rest = format.substr(i);
    if (rest.starts_with("%%")) {
      add_literal("%");
      i += 2;
    } else if (rest.starts_with("%d")) {
      pieces.push_back({Piece::Kind::kNumber, std::string()});
      i += 2;
    } else if (rest.starts_with("%zu")) {
      pieces.push_back({Piece::Kind::kNumber, std::string()});
      i += 3;
    } else if (rest.starts_with("%s")) {
      pieces.push_back({Piece::Kind::kText, std::string()});
      i += 2;
    } else {
      add_literal(rest.substr(0, 1));
      ++i;
    }
  }
  return pieces;
}

std::size_t MessageCatalogue::Match(const std::vector<Piece>& pieces, std::size_t piece, std::string_view text,
                                    std::size_t pos, std::vector<std::string_view>* args) {
  if (piece == pieces.size()) return pos;
  const Piece& p = pieces[piece];
  switch (p.kind) {
    case Piece::Kind::kLiteral:
      if (text.substr(pos).starts_with(p.literal)) return Match(pieces, piece + 1, text, pos + p.literal.size(), args);
      return std::string_view::npos;
    case Piece::Kind::kNumber: {
      std::size_t end = pos;
      if (end < text.size() && text[end] == '-') ++end;
      const std::size_t digits = end;
      while (end < text.size() && IsDigit(text[end])) ++end;
      if (end == digits) return std::string_view::npos;
      args->push_back(text.substr(pos, end - pos));
      const std::size_t matched = Match(pieces, piece + 1, text, end, args);
      if (matched == std::string_view::npos) args->pop_back();
      return matched;
    }
    case Piece::Kind::kText:
      break;
  }
  // A text argument at the end, or before another argument, runs to the end of its line.
  if (piece + 1 == pieces.size() || pieces[piece + 1].kind != Piece::Kind::kLiteral) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    if (end == pos) return std::string_view::npos;
    args->push_back(text.substr(pos, end - pos));
    const std::size_t matched = Match(pieces, piece + 1, text, end, args);
    if (matched == std::string_view::npos) args->pop_back();
    return matched;
  }
  // Otherwise as long as the rest lets it be within its line, never empty: a path that holds the text
  // that follows it (a bracket) is taken whole. Each place of the line where the next literal text
  // starts is tried in turn, the last first.
  const std::string& next = pieces[piece + 1].literal;
  std::size_t line_end = text.find('\n', pos);
  if (line_end == std::string_view::npos) line_end = text.size();
  for (std::size_t end = text.rfind(next, line_end); end != std::string_view::npos && end > pos;
       end = end == 0 ? std::string_view::npos : text.rfind(next, end - 1)) {
    args->push_back(text.substr(pos, end - pos));
    const std::size_t matched = Match(pieces, piece + 1, text, end, args);
    if (matched != std::string_view::npos) return matched;
    args->pop_back();
  }
  return std::string_view::npos;
}

void MessageCatalogue::Render(const std::vector<Piece>& pieces, const std::vector<std::string_view>& args,
                              std::string* out) {
  std::size_t next_arg = 0;
  for (const Piece& p : pieces) {
    if (p.kind == Piece::Kind::kLiteral) {
      *out += p.literal;
    } else if (next_arg < args.size()) {
      *out += args[next_arg++];
    }
  }
}

std::string MessageCatalogue::Translate(std::string_view text) const {
  std::string out;
  std::vector<std::string_view> args;
  std::vector<std::string_view> best_args;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const Message* best = nullptr;
    std::size_t best_end = pos;
    for (const std::size_t index : by_first_byte_[static_cast<unsigned char>(text[pos])]) {
      const Message& message = messages_[index];
      args.clear();
      const std::size_t end = Match(message.source, 0, text, pos, &args);
      if (end != std::string_view::npos && end > best_end) {
        best = &message;
        best_end = end;
        best_args = args;
      }
    }
    if (best == nullptr) {
      out += text[pos++];
      continue;
    }
    Render(best->translation, best_args, &out);
    pos = best_end;
  }
  return out;
}

}  // namespace morva
