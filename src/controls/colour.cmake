# Sources of the colour group.
