// Linking qny_resources makes a target wait for the resources staged in the build tree.
