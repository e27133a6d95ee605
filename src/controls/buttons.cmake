# Sources of the buttons group.
