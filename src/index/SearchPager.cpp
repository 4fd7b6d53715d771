#include "index/SearchPager.h"

#include <charconv>

namespace sorvanta::index {

namespace {

std::optional<int64_t> integerId(std::string_view text) {
  int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

}  // namespace

SearchPager::SearchPager(const std::string& indexFile, SearchTarget target, CompiledQuery query)
    : reader_(std::make_unique<IndexReader>(indexFile)), target_(target), query_(std::move(query)) {}

std::variant<SearchPager, QueryError> SearchPager::open(const std::string& indexFile,
                                                        SearchTarget target,
                                                        std::string_view query) {
  auto compiled = compileQuery(query, target);
  if (auto* error = std::get_if<QueryError>(&compiled)) return std::move(*error);
  return SearchPager(indexFile, target, std::move(std::get<CompiledQuery>(compiled)));
}

std::vector<std::string> SearchPager::columns(SearchTarget target) {
  switch (target) {
    case SearchTarget::Sets: return {"LU-ID", "Lexical Unit", "Frame", "Sentence ID", "Text"};
    case SearchTarget::Frames: return {"ID", "Frame"};
    case SearchTarget::LexicalUnits: return {"ID", "Lexical Unit"};
    case SearchTarget::FrameElements: return {"Frame", "Frame Element"};
  }
  return {};
}

int64_t SearchPager::total() {
  if (!total_) {
    total_ = target_ == SearchTarget::Sets ? reader_->countSets(query_)
                                           : reader_->countEntities(target_, query_);
  }
  return *total_;
}

size_t SearchPager::loadMore(size_t pageSize) {
  if (pageSize == 0 || !hasMore()) return 0;
  const size_t before = rows_.size();
  const auto offset = static_cast<int64_t>(before);
  const auto limit = static_cast<int64_t>(pageSize);
  if (target_ == SearchTarget::Sets) {
    reader_->forEachSet(query_, offset, limit, [this](const SetRow& set) {
      ResultRow& row = rows_.emplace_back();
      row.cells = {std::to_string(set.luId), set.lu, set.frame, set.sentenceId, set.text};
      row.luId = set.luId;
      row.sentenceId = set.sentenceId;
      row.frame = set.frame;
      row.targetStart = set.targetStart;
      row.targetEnd = set.targetEnd;
      return true;
    });
  } else {
    reader_->forEachEntity(target_, query_, offset, limit, [this](const EntityRow& entity) {
      ResultRow& row = rows_.emplace_back();
      switch (target_) {
        case SearchTarget::Frames:
          row.cells = {entity.id, entity.name};
          row.frame = entity.name;
          break;
        case SearchTarget::LexicalUnits:
          row.cells = {entity.id, entity.name};
          row.luId = integerId(entity.id);
          row.frame = entity.frame;
          break;
        default:
          row.cells = {entity.frame, entity.name};
          row.frame = entity.frame;
          break;
      }
      return true;
    });
  }
  const size_t read = rows_.size() - before;
  if (read < pageSize) total_ = static_cast<int64_t>(rows_.size());
  return read;
}

}  // namespace sorvanta::index
