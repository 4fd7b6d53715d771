#pragma once
// The release index's tables: one SQLite file per release, documented in docs/index-schema.md.
// Rows keep the values the documents hold (IDs and offsets as text) beside their integer
// form, so a checker sees what could not be read as well as what could.
#include <string>
#include <string_view>

namespace sorvanta::index {

// PRAGMA application_id of an index file ("SVIX"): anything else is a foreign file.
inline constexpr int kApplicationId = 0x53564958;
// PRAGMA user_version: raised whenever a table or the meaning of a column changes.
inline constexpr int kSchemaVersion = 3;

// Values of the `source` columns: which document of a lexical unit a row came from.
inline constexpr int kSourceAnnotation = 0;  // luXML/luN.xml
inline constexpr int kSourceSubcorpus = 1;   // xml/luN.xml

// The tables and views of a fresh file.
std::string schemaSql();
// The tables a cold build writes into side files of their own, each with its indexes.
enum class SideTable { LabelData, Constituents };
// One of them alone, part of schemaSql().
std::string_view sideTableSql(SideTable table);
// The indexes of every table, created once a cold build has loaded the rows (faster than
// growing them).
std::string indexSql();
// Its indexes alone, part of indexSql().
std::string_view sideIndexSql(SideTable table);
// Triggers keeping the full-text table in step with annotation_sets; created once the bulk
// load of a cold build has filled the full-text table in one go.
std::string_view fullTextTriggersSql();

}  // namespace sorvanta::index
