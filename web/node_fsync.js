// For the whole-screen driver under node only: it works on the host's files
// (NODERAWFS), whose streams Emscripten's asynchronous fsync does not know
// (it looks for a mount they do not have). The host's file system has the
// data already; there is nothing to wait for.
mergeInto(LibraryManager.library, {
  fd_sync: function (fd) { return 0; },
});
