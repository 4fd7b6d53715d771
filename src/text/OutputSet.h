#pragma once
// The files of one data set, replaced together.
//
//   OutputSet set;
//   set.add(folder + "train.xml", trainingBytes);  // written to a temporary beside it now
//   set.add(folder + "test.xml", testBytes);
//   OutputFile& answers = set.open(folder + "answers.txt");
//   answers.write(line);                           // as the lines come, through a buffer
//   set.commit();                                  // flushed once, then renamed in one step
//
// Until commit the targets are untouched. Any failure, in add, open, a write or commit, removes
// every temporary of the set, puts back every target the commit had already replaced, and throws
// FileCreateError "Cannot create file <path>" naming the file that failed: the older set stays
// as it was. A set destroyed without commit removes its temporaries.
//
// Temporaries are named ".sorvanta-tmp-<pid>-<n>.<file name>"; the first set written into a
// folder by a process removes those that processes no longer running left there.
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace sorvanta::text {

inline constexpr std::string_view kTemporaryPrefix = ".sorvanta-tmp-";

class OutputSet;

// One file of a set written in pieces: the bytes go to its temporary as they come, through a
// buffer, so a large file is never held whole in memory. Valid until its set is committed or
// discarded (a failure discards it).
class OutputFile {
 public:
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Appends bytes. A write that fails fails the whole set.
  void write(std::string_view bytes);
  // The working-text path the file replaces.
  const std::string& target() const { return target_; }

 private:
  friend class OutputSet;
  OutputFile() = default;
  // Writes what is buffered and then last, flushes as the set's policy says and closes.
  void finish(std::string_view last);
  bool writeOut(std::string_view bytes);

  OutputSet* set_ = nullptr;
  std::string target_;  // working text, for messages
  std::string fsTarget_;
  std::string folder_;  // file system name of the target's folder
  std::string temp_;
  std::string backup_;            // a second name of the older target while the commit runs
  bool created_ = false;          // the target did not exist before the commit
  bool protectedByLink_ = false;  // the older target can be put back
  int fd_ = -1;                   // open while pieces may still come
  std::string buffer_;
};

class OutputSet {
 public:
  // How the temporaries reach the disk before the renames: fdatasync of each file as it is
  // written, one syncfs of the file system at the commit (bench/output_set_bench measures the
  // two), or not at all (a process crash still leaves whole files; a power cut may not).
  enum class Flush { PerFile, FileSystem, None };

  explicit OutputSet(Flush flush = Flush::FileSystem) : flush_(flush) {}
  ~OutputSet() { discard(); }
  OutputSet(const OutputSet&) = delete;
  OutputSet& operator=(const OutputSet&) = delete;

  // Writes bytes to a new temporary for the working-text path. A path naming a folder, or a
  // temporary that cannot be written, fails the set.
  void add(std::string_view workingPath, std::string_view bytes);
  // Creates the temporary of a file written in pieces; it stays open until the commit. Fails
  // the set like add.
  OutputFile& open(std::string_view workingPath);
  // Flushes the temporaries and renames them over their targets, in the order added.
  void commit();
  // Commits several sets with one flush for all: sets before a failing one stay committed,
  // the failing set and those after it are discarded.
  static void commitTogether(const std::vector<OutputSet*>& sets);
  // Removes this set's temporaries; the targets stay as they were. Commit may not follow.
  void discard();

  // The working-text paths added, in order.
  std::vector<std::string> targets() const;

 private:
  friend class OutputFile;

  [[noreturn]] void fail(const std::string& target);
  static void finishFiles(const std::vector<OutputSet*>& sets);
  static void flushFileSystems(const std::vector<OutputSet*>& sets);
  // What the replacing steps of a commit leave to do at its end, also when one fails: the
  // second names of the older targets to remove, the folders whose renames to make durable.
  struct Replaced {
    std::vector<std::string> olderTargets;
    std::set<std::string> renamedIn;
    void finish();
  };
  void replaceTargets(Replaced& replaced);
  void putBack(size_t replaced);

  Flush flush_;
  std::vector<std::unique_ptr<OutputFile>> entries_;
};

// Removes, from the folder, the temporaries of processes that no longer run; those of live
// processes (another command writing there now) stay. Returns how many were removed.
size_t removeStaleTemporaries(std::string_view workingFolder);

}  // namespace sorvanta::text
