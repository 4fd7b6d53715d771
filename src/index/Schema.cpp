#include "index/Schema.h"

#include <string>

namespace sorvanta::index {

namespace {

// Tables, first part: everything but the label rows.
constexpr std::string_view kCoreTables = R"sql(
CREATE TABLE meta(
  key TEXT PRIMARY KEY,
  value TEXT
);
CREATE TABLE documents(
  path TEXT PRIMARY KEY,      -- relative to the release folder, '/' separated
  kind TEXT NOT NULL,         -- frames | relations | annotation | subcorpus | lexical-entry
  lu_id INTEGER,              -- the ID in the file name of the three lexical-unit kinds
  size INTEGER NOT NULL,
  mtime_ns INTEGER NOT NULL,
  readable INTEGER NOT NULL   -- 0: the document could not be parsed (see problems)
);
CREATE TABLE problems(
  problem_ord INTEGER PRIMARY KEY,
  document TEXT NOT NULL,
  location TEXT NOT NULL,
  code TEXT NOT NULL,
  message TEXT NOT NULL
);

CREATE TABLE frames(
  frame_ord INTEGER PRIMARY KEY,  -- document order
  id INTEGER,
  id_text TEXT NOT NULL,
  name TEXT NOT NULL,
  definition TEXT NOT NULL
);

CREATE TABLE frame_elements(
  fe_ord INTEGER PRIMARY KEY,
  frame_ord INTEGER NOT NULL REFERENCES frames(frame_ord),
  frame_name TEXT NOT NULL,
  id INTEGER,
  id_text TEXT NOT NULL,
  name TEXT NOT NULL,
  abbrev TEXT NOT NULL,
  core_type TEXT NOT NULL,
  definition TEXT NOT NULL
);

CREATE TABLE lexical_units(
  lu_ord INTEGER PRIMARY KEY,
  frame_ord INTEGER NOT NULL REFERENCES frames(frame_ord),
  frame_name TEXT NOT NULL,
  id INTEGER,
  id_text TEXT NOT NULL,
  name TEXT NOT NULL,
  lemma TEXT NOT NULL,        -- the name before its last full stop
  pos TEXT NOT NULL,          -- the name after its last full stop
  pos_attr TEXT NOT NULL,     -- the "pos" attribute as written
  status TEXT NOT NULL,
  definition TEXT NOT NULL,
  annotated INTEGER NOT NULL, -- annotation/annotated; 0 when absent or not an integer
  annotated_text TEXT         -- as written; NULL when absent
);

CREATE TABLE relation_types(
  type_ord INTEGER PRIMARY KEY,
  id_text TEXT NOT NULL,
  name TEXT NOT NULL
);
CREATE TABLE frame_relations(
  relation_ord INTEGER PRIMARY KEY,
  type_ord INTEGER NOT NULL REFERENCES relation_types(type_ord),
  type_name TEXT NOT NULL,
  id_text TEXT NOT NULL,
  super_frame TEXT NOT NULL,
  sub_frame TEXT NOT NULL
);
CREATE TABLE fe_relations(
  fe_relation_ord INTEGER PRIMARY KEY,
  relation_ord INTEGER NOT NULL REFERENCES frame_relations(relation_ord),
  id_text TEXT NOT NULL,
  super_fe TEXT NOT NULL,
  sub_fe TEXT NOT NULL
);

CREATE TABLE subcorpora(
  subcorpus_ord INTEGER PRIMARY KEY,
  document TEXT NOT NULL,
  source INTEGER NOT NULL,    -- 0 annotation document, 1 subcorpus document
  lu_id INTEGER NOT NULL,
  name TEXT NOT NULL,
  set_count INTEGER NOT NULL
);

CREATE TABLE annotation_sets(
  set_ord INTEGER PRIMARY KEY,
  lu_id INTEGER NOT NULL,
  sentence_key TEXT NOT NULL, -- the sentence's ID as written
  sentence_id INTEGER,        -- the same as an integer; NULL when it is not one
  text TEXT NOT NULL          -- from the annotation document when it holds the sentence
);

CREATE TABLE sentences(
  sentence_ord INTEGER PRIMARY KEY,
  set_ord INTEGER NOT NULL REFERENCES annotation_sets(set_ord),
  document TEXT NOT NULL,
  source INTEGER NOT NULL,
  lu_id INTEGER NOT NULL,
  subcorpus TEXT,             -- NULL outside any subcorpus element
  sentence_key TEXT NOT NULL,
  sentence_id INTEGER,
  text TEXT NOT NULL,
  doc_order INTEGER NOT NULL, -- position among the document's sentences, from 0
  labels_of INTEGER NOT NULL, -- the sentence whose label_data rows are this one's labels
  label_base INTEGER NOT NULL, -- doc_order of the sentence's first label in its document
  fe_ranks TEXT NOT NULL,     -- the ranks of its FE-layer labels, each as "<rank>", sorted
  outside_1252 INTEGER NOT NULL -- characters of text that Windows-1252 cannot hold
);

-- Label faults one document shows by itself, found while it is read (the release check).
CREATE TABLE label_findings(
  finding_ord INTEGER PRIMARY KEY,
  document TEXT NOT NULL,
  lu_id INTEGER NOT NULL,
  fault TEXT NOT NULL,            -- bad-integer, out-of-range, overlap
  sentence_order INTEGER NOT NULL, -- the sentence's doc_order
  label_order INTEGER NOT NULL,    -- the label's doc_order
  sentence_key TEXT NOT NULL,
  sentence_length INTEGER NOT NULL,
  layer TEXT NOT NULL,
  layer_rank TEXT NOT NULL,
  name TEXT NOT NULL,
  start_text TEXT,                 -- as written; NULL when absent
  end_text TEXT,
  other_name TEXT,                 -- overlap: the label it overlaps
  other_start INTEGER,
  other_end INTEGER
);

-- FE-layer labels of one document counted per layer rank and label name.
CREATE TABLE fe_label_counts(
  document TEXT NOT NULL,
  lu_id INTEGER NOT NULL,
  layer_rank TEXT NOT NULL,
  name TEXT NOT NULL,
  labels INTEGER NOT NULL,
  PRIMARY KEY(document, layer_rank, name)
) WITHOUT ROWID;

-- Label names, layer names, ranks and itypes, each stored once; name_id 1 is ''.
CREATE TABLE label_names(
  name_id INTEGER PRIMARY KEY,
  text TEXT NOT NULL UNIQUE
);
)sql";

constexpr std::string_view kLabelDataTable = R"sql(
-- The labels of a sentence element. A subcorpus-document sentence whose labels equal those
-- of the annotation document's sentence of the same set has no rows of its own: its
-- labels_of names that sentence.
CREATE TABLE label_data(
  sentence_ord INTEGER NOT NULL,
  position INTEGER NOT NULL,  -- among the sentence's labels, from 0
  set_ord INTEGER NOT NULL,
  layer_id INTEGER NOT NULL,
  rank_id INTEGER NOT NULL,
  name_id INTEGER NOT NULL,
  itype_id INTEGER NOT NULL,
  merged INTEGER NOT NULL,    -- 1: the label is part of merged_labels
  start INTEGER,
  "end" INTEGER,
  start_text TEXT,            -- only when not the plain decimal writing of start
  end_text TEXT,
  PRIMARY KEY(sentence_ord, position)
) WITHOUT ROWID;
)sql";

constexpr std::string_view kConstituentsTable = R"sql(
-- Constituents: an overt frame-element label and a phrase-type and a grammatical-function
-- label with the same start and end, within one sentence element.
CREATE TABLE constituents(
  set_ord INTEGER NOT NULL,
  start INTEGER NOT NULL,
  "end" INTEGER NOT NULL,
  fe_id INTEGER NOT NULL,     -- label_names of the three labels
  pt_id INTEGER NOT NULL,
  gf_id INTEGER NOT NULL,
  PRIMARY KEY(set_ord, start, "end", fe_id, pt_id, gf_id)
) WITHOUT ROWID;
)sql";

constexpr std::string_view kOtherTables = R"sql(
-- Every label of an annotation set, with its names as text and its offsets as written.
CREATE VIEW labels AS
SELECT s.set_ord, s.source, s.label_base + d.position AS doc_order, l.text AS layer,
       r.text AS layer_rank, n.text AS name,
       coalesce(d.start_text, CAST(d.start AS TEXT)) AS start_text,
       coalesce(d.end_text, CAST(d."end" AS TEXT)) AS end_text,
       d.start, d."end", i.text AS itype
FROM sentences s
JOIN label_data d ON d.sentence_ord = s.labels_of
JOIN label_names l ON l.name_id = d.layer_id
JOIN label_names r ON r.name_id = d.rank_id
JOIN label_names n ON n.name_id = d.name_id
JOIN label_names i ON i.name_id = d.itype_id;

-- One set, the layers of both documents: every layer of the annotation document, and the
-- layers of the subcorpus document whose (name, rank) the annotation document lacks.
CREATE VIEW merged_labels AS
SELECT s.set_ord, s.source, s.label_base + d.position AS doc_order, l.text AS layer,
       r.text AS layer_rank, n.text AS name,
       coalesce(d.start_text, CAST(d.start AS TEXT)) AS start_text,
       coalesce(d.end_text, CAST(d."end" AS TEXT)) AS end_text,
       d.start, d."end", i.text AS itype
FROM label_data d
JOIN sentences s ON s.sentence_ord = d.sentence_ord
JOIN label_names l ON l.name_id = d.layer_id
JOIN label_names r ON r.name_id = d.rank_id
JOIN label_names n ON n.name_id = d.name_id
JOIN label_names i ON i.name_id = d.itype_id
WHERE d.merged = 1;

CREATE TABLE fe_realizations(
  realization_ord INTEGER PRIMARY KEY,
  document TEXT NOT NULL,
  lu_id INTEGER NOT NULL,
  fe TEXT NOT NULL,
  pt TEXT NOT NULL,
  gf TEXT NOT NULL,
  total_text TEXT NOT NULL,
  total INTEGER,              -- NULL when "total" is not an integer
  doc_order INTEGER NOT NULL
);

CREATE VIRTUAL TABLE sentence_words USING fts5(
  text, content='annotation_sets', content_rowid='set_ord',
  tokenize='unicode61 remove_diacritics 0'
);
)sql";

constexpr std::string_view kCoreIndexes = R"sql(
CREATE INDEX problems_document ON problems(document);
CREATE INDEX frames_id ON frames(id);
CREATE INDEX frames_name ON frames(name COLLATE NOCASE);
CREATE INDEX frame_elements_frame ON frame_elements(frame_ord);
CREATE INDEX frame_elements_name ON frame_elements(name COLLATE NOCASE);
CREATE INDEX lexical_units_id ON lexical_units(id);
CREATE INDEX lexical_units_frame ON lexical_units(frame_ord);
CREATE INDEX lexical_units_name ON lexical_units(name COLLATE NOCASE);
CREATE INDEX frame_relations_super ON frame_relations(super_frame);
CREATE INDEX frame_relations_sub ON frame_relations(sub_frame);
CREATE INDEX fe_relations_relation ON fe_relations(relation_ord);
CREATE INDEX subcorpora_lu ON subcorpora(lu_id);
CREATE UNIQUE INDEX annotation_sets_key ON annotation_sets(lu_id, sentence_key);
CREATE INDEX annotation_sets_order ON annotation_sets(lu_id, sentence_id, set_ord);
CREATE INDEX annotation_sets_sentence ON annotation_sets(sentence_id);
CREATE INDEX sentences_lu ON sentences(lu_id);
CREATE INDEX sentences_outside_1252 ON sentences(sentence_ord) WHERE outside_1252 > 0;
-- Also the index of sentences by set (one index less to build), covering the step from a set
-- to its label rows.
CREATE INDEX sentences_fe_ranks ON sentences(set_ord, source, fe_ranks, labels_of);
CREATE INDEX label_findings_document ON label_findings(document);
CREATE INDEX fe_label_counts_lu ON fe_label_counts(lu_id);
CREATE INDEX documents_lu ON documents(lu_id);
CREATE INDEX fe_realizations_lu ON fe_realizations(lu_id);
)sql";

constexpr std::string_view kLabelDataIndexes = R"sql(
CREATE INDEX label_data_name ON label_data(layer_id, name_id, itype_id, set_ord);
CREATE INDEX label_data_itype ON label_data(itype_id, set_ord) WHERE itype_id <> 1;
)sql";

constexpr std::string_view kConstituentsIndexes = R"sql(
CREATE INDEX constituents_names ON constituents(fe_id, pt_id, gf_id, set_ord);
)sql";

}  // namespace

std::string schemaSql() {
  std::string sql(kCoreTables);
  sql += kLabelDataTable;
  sql += kConstituentsTable;
  sql += kOtherTables;
  return sql;
}

std::string_view sideTableSql(SideTable table) {
  return table == SideTable::LabelData ? kLabelDataTable : kConstituentsTable;
}

std::string indexSql() {
  std::string sql(kCoreIndexes);
  sql += kLabelDataIndexes;
  sql += kConstituentsIndexes;
  return sql;
}

std::string_view sideIndexSql(SideTable table) {
  return table == SideTable::LabelData ? kLabelDataIndexes : kConstituentsIndexes;
}

std::string_view fullTextTriggersSql() {
  return R"sql(
CREATE TRIGGER annotation_sets_ai AFTER INSERT ON annotation_sets BEGIN
  INSERT INTO sentence_words(rowid, text) VALUES (new.set_ord, new.text);
END;
CREATE TRIGGER annotation_sets_ad AFTER DELETE ON annotation_sets BEGIN
  INSERT INTO sentence_words(sentence_words, rowid, text) VALUES ('delete', old.set_ord, old.text);
END;
CREATE TRIGGER annotation_sets_au AFTER UPDATE OF text ON annotation_sets BEGIN
  INSERT INTO sentence_words(sentence_words, rowid, text) VALUES ('delete', old.set_ord, old.text);
  INSERT INTO sentence_words(rowid, text) VALUES (new.set_ord, new.text);
END;
)sql";
}

}  // namespace sorvanta::index
