#pragma once
// The files of one data set, replaced together.
//
//   OutputSet set;
//   set.add(folder + "train.xml", trainingBytes);  // written to a temporary beside it now
//   set.add(folder + "test.xml", testBytes);
//   set.commit();                                  // flushed once, then renamed in one step
//
// Until commit the targets are untouched. Any failure, in add or in commit, removes every
// temporary of the set, puts back every target the commit had already replaced, and throws
// FileCreateError "Cannot create file <path>" naming the file that failed: the older set stays
// as it was. A set destroyed without commit removes its temporaries.
//
// Temporaries are named ".sorvanta-tmp-<pid>-<n>.<file name>"; the first set written into a
// folder by a process removes those that processes no longer running left there.
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace sorvanta::text {

inline constexpr std::string_view kTemporaryPrefix = ".sorvanta-tmp-";

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
  struct Entry {
    std::string target;  // working text, for messages
    std::string fsTarget;
    std::string folder;  // file system name of the target's folder
    std::string temp;
    std::string backup;  // a second name of the older target while the commit runs
    bool created = false;    // the target did not exist before the commit
    bool protectedByLink = false;  // the older target can be put back
  };

  [[noreturn]] void fail(const std::string& target);
  static void flushFileSystems(const std::vector<OutputSet*>& sets);
  void replaceTargets(std::set<std::string>& renamedIn);
  void putBack(size_t replaced);

  Flush flush_;
  std::vector<Entry> entries_;
};

// Removes, from the folder, the temporaries of processes that no longer run; those of live
// processes (another command writing there now) stay. Returns how many were removed.
size_t removeStaleTemporaries(std::string_view workingFolder);

}  // namespace sorvanta::text
