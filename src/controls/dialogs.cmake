# Sources of the dialogs group.
