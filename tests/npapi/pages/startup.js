var loadedWith = null, loadedAt = -1;
function pluginLoaded(root) { loadedWith = root; loadedAt = testbrowser.now(); }
